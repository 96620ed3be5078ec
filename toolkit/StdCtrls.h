#pragma once

// The base controls of the question controls: every published property is kept
// (and round-trips through the object text) even where Qt has no use for it, with
// the classic defaults; what a student uses works through the Qt widget.

#include "toolkit/Graphics.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/Strings.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>

#include <functional>

class QButtonGroup;
class QRadioButton;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = int; // bit (1 << TAnchorKind)
constexpr TAnchors DefaultAnchors = (1 << akLeft) | (1 << akTop);
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TDragKind { dkDrag, dkDock };
enum TDragMode { dmManual, dmAutomatic };
enum TImeMode {
    imDisable,
    imClose,
    imOpen,
    imDontCare,
    imSAlpha,
    imAlpha,
    imHira,
    imSKata,
    imKata,
    imChinese,
    imSHanguel,
    imHanguel
};
enum TBorderStyle { bsNone, bsSingle };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TDTCalAlignment { dtaLeft, dtaRight };
enum TDTDateFormat { dfShort, dfLong };
enum TDTDateMode { dmComboBox, dmUpDown };
enum TDateTimeKind { dtkDate, dtkTime };

// Size limits of a control; 0 means no limit.
class TSizeConstraints {
public:
    int MaxHeight() const { return FMaxHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MinHeight() const { return FMinHeight; }
    int MinWidth() const { return FMinWidth; }
    void SetMaxHeight(int value) { Set(FMaxHeight, value); }
    void SetMaxWidth(int value) { Set(FMaxWidth, value); }
    void SetMinHeight(int value) { Set(FMinHeight, value); }
    void SetMinWidth(int value) { Set(FMinWidth, value); }

    std::function<void()> OnChange;

private:
    void Set(int &field, int value);
    int FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

// The colours of a date picker's drop-down calendar.
struct TMonthCalColors {
    TColor BackColor = clWindow;
    TColor TextColor = clWindowText;
    TColor TitleBackColor = clActiveCaption;
    TColor TitleTextColor = clWhite;
    TColor MonthBackColor = clWhite;
    TColor TrailingTextColor = clInactiveCaptionText;
};

// What every control has beside its Qt widget: position, font, colour, tab order and
// the properties that are only carried along. Mixed into each control class.
class TControl {
public:
    explicit TControl(QWidget *widget);
    virtual ~TControl();
    TControl(const TControl &) = delete;
    TControl &operator=(const TControl &) = delete;

    QWidget *Widget() const { return FWidget; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int value);
    void SetTop(int value);
    void SetWidth(int value);
    void SetHeight(int value);
    void SetBounds(int left, int top, int width, int height);

    // Shows the control in parent (when Visible) and gives it the next tab order.
    void SetParentWidget(QWidget *parent);

    // Carried along; Qt has no use for them.
    int Tag = 0;
    int Cursor = crDefault;
    int HelpContext = 0;
    TAnchors Anchors = DefaultAnchors;
    TBiDiMode BiDiMode = bdLeftToRight;
    bool ParentBiDiMode = true;
    bool Ctl3D = true;
    bool ParentCtl3D = true;
    int DragCursor = crDrag;
    TDragKind DragKind = dkDrag;
    TDragMode DragMode = dmManual;
    TImeMode ImeMode = imDontCare;
    QString ImeName;
    bool ParentShowHint = true;
    TAlign Align = alNone;

    QString Hint() const { return FHint; }
    void SetHint(const QString &value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);

    TColor Color() const { return FColor; }
    void SetColor(TColor value); // also ParentColor := False
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value);

    // Any change of the font makes the control use its own font.
    TFont *Font() { return &FFont; }
    const TFont *Font() const { return &FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    TSizeConstraints *Constraints() { return &FConstraints; }
    const TSizeConstraints *Constraints() const { return &FConstraints; }

protected:
    // Construction defaults of a class; no change notification.
    void InitColor(TColor color, bool parentColor);
    void InitTabStop(bool value);
    // The palette role the colour paints.
    virtual QPalette::ColorRole ColorRole() const { return QPalette::Base; }

private:
    void ApplyFont();
    void ApplyColor();
    void ApplyConstraints();

    QWidget *FWidget;
    QString FHint;
    bool FShowHint = false;
    TColor FColor = clWindow;
    bool FParentColor = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FTabStop = true;
    int FTabOrder = -1;
    TFont FFont;
    bool FParentFont = true;
    TSizeConstraints FConstraints;
};

// Single-line edit box with an edit mask.
class TEditBox : public TMaskEdit, public TControl {
    Q_OBJECT
public:
    explicit TEditBox(QWidget *parent = nullptr);

    bool AutoSize = true;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

private:
    TBorderStyle FBorderStyle = bsSingle;
};

// Drop-down list: csDropDownList and the owner-draw styles choose only from Items,
// csDropDown and csSimple also take typed text.
class TComboBox : public QComboBox, public TControl {
    Q_OBJECT
public:
    explicit TComboBox(QWidget *parent = nullptr);

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    TStrings *Items() { return &FItems; }
    const TStrings *Items() const { return &FItems; }
    // The typed text, or the text of the chosen item.
    QString Text() const;
    void SetText(const QString &value);
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int value);
    bool Sorted() const { return FItems.Sorted(); }
    void SetSorted(bool value) { FItems.SetSorted(value); }
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int value) { setMaxVisibleItems(std::max(1, value)); }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);

    int ItemHeight = 13;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool WantsEditable() const { return FStyle == csDropDown || FStyle == csSimple; }
    // Qt's editable state follows the style lazily: its line edit is costly and most
    // loaded combo boxes are drop-down lists.
    void SyncEditable();
    void ItemsChanged();

    TComboBoxStyle FStyle = csDropDown;
    TStrings FItems;
    int FMaxLength = 0;
    QString FText; // the typed text while Qt's box is not editable yet
};

// Group box of radio buttons, one per line of Items, arranged in Columns columns.
class TRadioGroup : public QGroupBox, public TControl {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    QString Caption() const { return title(); }
    void SetCaption(const QString &value) { setTitle(value); }
    TStrings *Items() { return &FItems; }
    const TStrings *Items() const { return &FItems; }
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    // The checked button, -1 when none.
    int ItemIndex() const;
    void SetItemIndex(int value);
    QRadioButton *Button(int index) const;
    int ButtonCount() const;

protected:
    QPalette::ColorRole ColorRole() const override { return QPalette::Window; }

private:
    void ItemsChanged();
    void ArrangeButtons();

    TStrings FItems;
    int FColumns = 1;
    int FItemIndex = -1; // kept while there are no buttons yet (Items read after ItemIndex)
    QButtonGroup *FGroup;
    QList<QRadioButton *> FButtons;
};

// List box with single, multiple (click toggles) or extended (shift/ctrl) selection.
class TListBox : public QListWidget, public TControl {
    Q_OBJECT
public:
    explicit TListBox(QWidget *parent = nullptr);

    TStrings *Items() { return &FItems; }
    const TStrings *Items() const { return &FItems; }
    // Single selection: the selected item, -1 when none; multiple: the focused item.
    int ItemIndex() const;
    void SetItemIndex(int value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value);
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    bool Sorted() const { return FItems.Sorted(); }
    void SetSorted(bool value) { FItems.SetSorted(value); }
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    // The number of selected items; -1 without multiple selection.
    int SelCount() const;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    bool IntegralHeight = false;
    int ItemHeight = 13;
    TListBoxStyle Style = lbStandard;
    int TabWidth = 0;

private:
    void ItemsChanged();
    void UpdateSelectionMode();

    TStrings FItems;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    int FColumns = 0;
    TBorderStyle FBorderStyle = bsSingle;
};

// Multi-line memo. Lines follows what is typed; Text is the lines joined by CR LF.
class TRichEdit : public QPlainTextEdit, public TControl {
    Q_OBJECT
public:
    explicit TRichEdit(QWidget *parent = nullptr);

    TStrings *Lines() { return &FLines; }
    const TStrings *Lines() const { return &FLines; }
    QString Text() const;
    void SetText(const QString &value) { FLines.SetText(value); }

    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool WantTabs() const { return !tabChangesFocus(); }
    void SetWantTabs(bool value) { setTabChangesFocus(!value); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    TAlignment Alignment = taLeftJustify;
    int BorderWidth = 0;
    bool HideSelection = true;
    bool HideScrollBars = true;
    int MaxLength = 0;
    bool PlainText = false;
    bool WantReturns = true;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void LinesChanged();
    void DocumentChanged();

    TStrings FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FSyncing = false;
};

// Date picker: Date and Time are one day number (days since 30 Dec 1899, the fraction
// the time of day); setting Date keeps the time, setting Time keeps the date.
class TDateTimePicker : public QDateTimeEdit, public TControl {
    Q_OBJECT
public:
    explicit TDateTimePicker(QWidget *parent = nullptr);

    double DateTime() const { return FDateTime; }
    void SetDateTime(double value);
    double Date() const { return FDateTime; }
    void SetDate(double value);
    double Time() const { return FDateTime; }
    void SetTime(double value);
    // The picked date as a calendar date.
    QDate PickedDate() const;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind value);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode value);
    double MinDate() const { return FMinDate; }
    void SetMinDate(double value);
    double MaxDate() const { return FMaxDate; }
    void SetMaxDate(double value);

    TDTCalAlignment CalAlignment = dtaLeft;
    TMonthCalColors *CalColors() { return &FCalColors; }
    bool ParseInput = false;
    bool ShowCheckbox = false;
    bool Checked = true;

    // A date as people type it: day, month and year in the order of the short date
    // format, with any of / . - as separators, or digits only (8 or 6 of them).
    static QDate ParseTypedDate(const QString &text);
    // True while a typed date waits to be taken (Enter, leaving the picker).
    bool Typing() const { return FTyping; }

protected:
    // A date is typed as free text and taken as a whole, never section by section:
    // section-wise typing turned "08/05/1945" into another date.
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // Tab leaves the picker, as it leaves every other control; the arrows move between
    // day, month and year.
    bool focusNextPrevChild(bool next) override;

private:
    void TypeText(const QString &text);
    void EditTyped(int key, Qt::KeyboardModifiers modifiers);
    // Takes the typed text: a date is picked; anything else is refused with a message
    // and the picker shows its date as before.
    void TakeTyped();
    void UpdateFormat();
    void UpdateRange();
    void ShowValue();
    void SetShownDateTime(const QDateTime &value);

    double FDateTime;
    TDateTimeKind FKind = dtkDate;
    TDTDateFormat FDateFormat = dfShort;
    TDTDateMode FDateMode = dmComboBox;
    double FMinDate = 0;
    double FMaxDate = 0;
    TMonthCalColors FCalColors;
    bool FTyping = false;
};
