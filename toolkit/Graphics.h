#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

// Integers with names (colours, character sets, cursors): value and identifier.
struct TIdentMapEntry {
    int Value;
    const char *Name;
};

struct TIdentMap {
    const TIdentMapEntry *Entries;
    int Count;
    // The first entry with the value; false when the value has no name.
    bool ToIdent(int value, QString *name) const;
    // The entry with the name, ignoring case.
    bool FromIdent(const QString &name, int *value) const;
    QStringList Names() const;
};

// Colours: blue-green-red values, or a system colour 0x80000000 + index.
using TColor = qint32;
constexpr TColor SystemColorBase = static_cast<TColor>(0x80000000u);
constexpr TColor clBlack = 0, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
                 clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                 clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF, clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor clScrollBar = SystemColorBase + 0, clBackground = SystemColorBase + 1,
                 clActiveCaption = SystemColorBase + 2, clInactiveCaption = SystemColorBase + 3,
                 clMenu = SystemColorBase + 4, clWindow = SystemColorBase + 5, clWindowFrame = SystemColorBase + 6,
                 clMenuText = SystemColorBase + 7, clWindowText = SystemColorBase + 8,
                 clCaptionText = SystemColorBase + 9, clActiveBorder = SystemColorBase + 10,
                 clInactiveBorder = SystemColorBase + 11, clAppWorkSpace = SystemColorBase + 12,
                 clHighlight = SystemColorBase + 13, clHighlightText = SystemColorBase + 14,
                 clBtnFace = SystemColorBase + 15, clBtnShadow = SystemColorBase + 16,
                 clGrayText = SystemColorBase + 17, clBtnText = SystemColorBase + 18,
                 clInactiveCaptionText = SystemColorBase + 19, clBtnHighlight = SystemColorBase + 20,
                 cl3DDkShadow = SystemColorBase + 21, cl3DLight = SystemColorBase + 22,
                 clInfoText = SystemColorBase + 23, clInfoBk = SystemColorBase + 24;

// The 43 colour identifiers in their fixed order (the pick list of colour rows).
const TIdentMap &ColorIdents();
QStringList ColorIdentifiers();
// The identifier of a colour, or its decimal value when it has none.
QString ColorToString(TColor color);
// An identifier or an integer (also negative, as system colours are often written).
bool StringToColor(const QString &text, TColor *color);
// The colour for display; system colours come from the application's palette.
QColor ColorToQColor(TColor color);

// Character sets, with their Windows names.
constexpr int ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, MAC_CHARSET = 77, SHIFTJIS_CHARSET = 128,
              HANGEUL_CHARSET = 129, JOHAB_CHARSET = 130, GB2312_CHARSET = 134, CHINESEBIG5_CHARSET = 136,
              GREEK_CHARSET = 161, TURKISH_CHARSET = 162, VIETNAMESE_CHARSET = 163, HEBREW_CHARSET = 177,
              ARABIC_CHARSET = 178, BALTIC_CHARSET = 186, RUSSIAN_CHARSET = 204, THAI_CHARSET = 222,
              EASTEUROPE_CHARSET = 238, OEM_CHARSET = 255;
const TIdentMap &CharsetIdents();

// Cursor shapes by number.
constexpr int crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
              crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
              crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19,
              crHelp = -20, crHandPoint = -21, crSizeAll = -22;
const TIdentMap &CursorIdents();

enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = int; // bit (1 << TFontStyle)

// A font as the controls describe it. Height is the character height in pixels,
// negative; Size is in points at 96 pixels per inch and is derived from Height.
class TFont {
public:
    static constexpr int PixelsPerInch = 96;
    static const QString DefaultName; // "MS Sans Serif"
    static constexpr int DefaultHeight = -11;

    int Charset() const { return FCharset; }
    void SetCharset(int value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    QString Name() const { return FName; }
    void SetName(const QString &value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    int Size() const;
    void SetSize(int value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);

    void Assign(const TFont &other);
    bool operator==(const TFont &other) const;

    // The font for display, with a family substitution for Windows names.
    QFont ToQFont() const;
    void AssignQFont(const QFont &font);

    std::function<void()> OnChange;

private:
    void Changed();

    int FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    int FHeight = DefaultHeight;
    QString FName = DefaultName;
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle = 0;
};

// Rounds value * numerator / denominator half away from zero, like the system's MulDiv.
int MulDiv(int value, int numerator, int denominator);
