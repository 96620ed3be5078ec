#include "toolkit/Graphics.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

const TIdentMapEntry ColorEntries[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
};

const TIdentMapEntry CharsetEntries[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

const TIdentMapEntry CursorEntries[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

const TIdentMap ColorMap{ColorEntries, static_cast<int>(std::size(ColorEntries))};
const TIdentMap CharsetMap{CharsetEntries, static_cast<int>(std::size(CharsetEntries))};
const TIdentMap CursorMap{CursorEntries, static_cast<int>(std::size(CursorEntries))};

void RegisterFontSubstitutions()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList sans{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                           QStringLiteral("Sans Serif")};
    for (const char *name : {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Tahoma",
                             "Arial", "Verdana", "Small Fonts"})
        QFont::insertSubstitutions(QLatin1String(name), sans);
    const QStringList serif{QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif"),
                            QStringLiteral("Serif")};
    for (const char *name : {"MS Serif", "Times New Roman"})
        QFont::insertSubstitutions(QLatin1String(name), serif);
    const QStringList mono{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                           QStringLiteral("Monospace")};
    for (const char *name : {"Courier New", "Courier", "Fixedsys", "Lucida Console"})
        QFont::insertSubstitutions(QLatin1String(name), mono);
}

} // namespace

bool TIdentMap::ToIdent(int value, QString *name) const
{
    for (int i = 0; i < Count; ++i)
        if (Entries[i].Value == value) {
            if (name)
                *name = QLatin1String(Entries[i].Name);
            return true;
        }
    return false;
}

bool TIdentMap::FromIdent(const QString &name, int *value) const
{
    for (int i = 0; i < Count; ++i)
        if (name.compare(QLatin1String(Entries[i].Name), Qt::CaseInsensitive) == 0) {
            if (value)
                *value = Entries[i].Value;
            return true;
        }
    return false;
}

QStringList TIdentMap::Names() const
{
    QStringList names;
    for (int i = 0; i < Count; ++i)
        names << QLatin1String(Entries[i].Name);
    return names;
}

const TIdentMap &ColorIdents()
{
    return ColorMap;
}

QStringList ColorIdentifiers()
{
    return ColorMap.Names();
}

QString ColorToString(TColor color)
{
    QString name;
    if (ColorMap.ToIdent(color, &name))
        return name;
    return QString::number(color);
}

bool StringToColor(const QString &text, TColor *color)
{
    int value = 0;
    if (ColorMap.FromIdent(text.trimmed(), &value)) {
        *color = value;
        return true;
    }
    bool ok = false;
    const QString t = text.trimmed();
    qint64 number = t.startsWith(QLatin1Char('$')) ? t.mid(1).toLongLong(&ok, 16) : t.toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > UINT32_MAX)
        return false;
    *color = static_cast<TColor>(static_cast<quint32>(number & 0xFFFFFFFF));
    return true;
}

QColor ColorToQColor(TColor color)
{
    const quint32 value = static_cast<quint32>(color);
    if (value & 0x80000000u) {
        const QPalette palette = QApplication::palette();
        switch (value & 0xFF) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        case 13:
            return palette.color(QPalette::Highlight);
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 15:
        case 4:
        case 0:
        case 10:
        case 11:
            return palette.color(QPalette::Button);
        case 16:
            return palette.color(QPalette::Mid);
        case 17:
        case 19:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18:
        case 7:
        case 9:
            return palette.color(QPalette::ButtonText);
        case 20:
            return palette.color(QPalette::Light);
        case 21:
            return palette.color(QPalette::Shadow);
        case 22:
            return palette.color(QPalette::Midlight);
        case 23:
            return palette.color(QPalette::ToolTipText);
        case 24:
            return palette.color(QPalette::ToolTipBase);
        case 2:
            return palette.color(QPalette::Active, QPalette::Highlight);
        case 3:
            return palette.color(QPalette::Inactive, QPalette::Highlight);
        default:
            return palette.color(QPalette::Window);
        }
    }
    if (color == clNone || color == clDefault)
        return QColor();
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

const TIdentMap &CharsetIdents()
{
    return CharsetMap;
}

const TIdentMap &CursorIdents()
{
    return CursorMap;
}

int MulDiv(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

const QString TFont::DefaultName = QStringLiteral("MS Sans Serif");

void TFont::SetCharset(int value)
{
    value = std::clamp(value, 0, 255);
    if (FCharset != value) {
        FCharset = value;
        Changed();
    }
}

void TFont::SetColor(TColor value)
{
    if (FColor != value) {
        FColor = value;
        Changed();
    }
}

void TFont::SetHeight(int value)
{
    if (FHeight != value) {
        FHeight = value;
        Changed();
    }
}

void TFont::SetName(const QString &value)
{
    if (FName != value && !value.isEmpty()) {
        FName = value;
        Changed();
    }
}

void TFont::SetPitch(TFontPitch value)
{
    if (FPitch != value) {
        FPitch = value;
        Changed();
    }
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDiv(value, PixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles value)
{
    value &= 0xF;
    if (FStyle != value) {
        FStyle = value;
        Changed();
    }
}

void TFont::Assign(const TFont &other)
{
    if (*this == other)
        return;
    FCharset = other.FCharset;
    FColor = other.FColor;
    FHeight = other.FHeight;
    FName = other.FName;
    FPitch = other.FPitch;
    FStyle = other.FStyle;
    Changed();
}

bool TFont::operator==(const TFont &other) const
{
    return FCharset == other.FCharset && FColor == other.FColor && FHeight == other.FHeight && FName == other.FName &&
           FPitch == other.FPitch && FStyle == other.FStyle;
}

QFont TFont::ToQFont() const
{
    RegisterFontSubstitutions();
    QFont font(FName);
    // Any height is kept, but what is drawn stays within what a font engine copes with.
    constexpr int MaxPixels = 1000;
    if (FHeight < 0)
        font.setPixelSize(std::min(MaxPixels, -std::max(FHeight, -MaxPixels)));
    else if (FHeight > 0)
        font.setPixelSize(std::clamp(FHeight * 4 / 5, 1, MaxPixels)); // cell height: leave room for the leading
    font.setBold(FStyle & (1 << fsBold));
    font.setItalic(FStyle & (1 << fsItalic));
    font.setUnderline(FStyle & (1 << fsUnderline));
    font.setStrikeOut(FStyle & (1 << fsStrikeOut));
    if (FPitch == fpFixed)
        font.setFixedPitch(true);
    if (FCharset == SYMBOL_CHARSET)
        font.setStyleHint(QFont::AnyStyle, QFont::PreferMatch);
    return font;
}

void TFont::AssignQFont(const QFont &font)
{
    FName = font.family();
    if (font.pixelSize() > 0)
        FHeight = -font.pixelSize();
    else
        FHeight = -MulDiv(qRound(font.pointSizeF()), PixelsPerInch, 72);
    FStyle = (font.bold() ? 1 << fsBold : 0) | (font.italic() ? 1 << fsItalic : 0) |
             (font.underline() ? 1 << fsUnderline : 0) | (font.strikeOut() ? 1 << fsStrikeOut : 0);
    Changed();
}

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}
