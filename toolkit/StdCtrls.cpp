#include "toolkit/StdCtrls.h"

#include "toolkit/Convert.h"
#include "toolkit/PlainText.h"
#include "toolkit/StdDialogs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QToolTip>
#include <QValidator>

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- TSizeConstraints

void TSizeConstraints::Set(int &field, int value)
{
    value = std::max(0, value);
    if (field == value)
        return;
    field = value;
    if (OnChange)
        OnChange();
}

// ---------------------------------------------------------------- TControl

namespace {

// Shows a control's hint as typed: the toolkit would take a hint with tags for rich text.
class THintAsTyped : public QObject {
public:
    explicit THintAsTyped(QWidget *widget) : QObject(widget) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::ToolTip || !widget || widget->toolTip().isEmpty())
            return false;
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), PlainHint(widget->toolTip()), widget);
        return true;
    }
};

} // namespace

TControl::TControl(QWidget *widget) : FWidget(widget)
{
    new THintAsTyped(widget);
    FFont.OnChange = [this] {
        FParentFont = false;
        ApplyFont();
    };
    FConstraints.OnChange = [this] { ApplyConstraints(); };
}

TControl::~TControl() = default;

int TControl::Left() const
{
    return FWidget->geometry().left();
}

int TControl::Top() const
{
    return FWidget->geometry().top();
}

int TControl::Width() const
{
    return FWidget->geometry().width();
}

int TControl::Height() const
{
    return FWidget->geometry().height();
}

void TControl::SetLeft(int value)
{
    SetBounds(value, Top(), Width(), Height());
}

void TControl::SetTop(int value)
{
    SetBounds(Left(), value, Width(), Height());
}

void TControl::SetWidth(int value)
{
    SetBounds(Left(), Top(), value, Height());
}

void TControl::SetHeight(int value)
{
    SetBounds(Left(), Top(), Width(), value);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    // Qt keeps sizes within 0..QWIDGETSIZE_MAX; the constraints narrow them further.
    // Positions stay as far inside, so that the far edge is still a number.
    left = std::clamp(left, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    top = std::clamp(top, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    width = std::clamp(width, 0, QWIDGETSIZE_MAX);
    height = std::clamp(height, 0, QWIDGETSIZE_MAX);
    if (FConstraints.MinWidth() > 0)
        width = std::max(width, FConstraints.MinWidth());
    if (FConstraints.MaxWidth() > 0)
        width = std::min(width, FConstraints.MaxWidth());
    if (FConstraints.MinHeight() > 0)
        height = std::max(height, FConstraints.MinHeight());
    if (FConstraints.MaxHeight() > 0)
        height = std::min(height, FConstraints.MaxHeight());
    FWidget->setGeometry(left, top, width, height);
}

void TControl::SetParentWidget(QWidget *parent)
{
    if (FWidget->parentWidget() == parent)
        return;
    const QRect bounds = FWidget->geometry();
    FWidget->setParent(parent);
    FWidget->setGeometry(bounds);
    if (!parent)
        return;
    if (FTabOrder < 0) {
        int placed = 0;
        for (QObject *sibling : parent->children()) {
            auto *control = dynamic_cast<TControl *>(sibling);
            if (control && control != this && control->FTabOrder >= 0)
                ++placed;
        }
        FTabOrder = placed;
    }
    FWidget->setVisible(FVisible);
}

void TControl::SetHint(const QString &value)
{
    FHint = value;
    FWidget->setToolTip(FShowHint ? FHint : QString());
}

void TControl::SetShowHint(bool value)
{
    FShowHint = value;
    ParentShowHint = false;
    FWidget->setToolTip(FShowHint ? FHint : QString());
}

void TControl::SetColor(TColor value)
{
    if (FColor == value && !FParentColor)
        return;
    FColor = value;
    FParentColor = false;
    ApplyColor();
}

void TControl::SetParentColor(bool value)
{
    if (FParentColor == value)
        return;
    FParentColor = value;
    ApplyColor();
}

void TControl::SetEnabled(bool value)
{
    FEnabled = value;
    FWidget->setEnabled(value);
}

void TControl::SetVisible(bool value)
{
    FVisible = value;
    if (FWidget->parentWidget())
        FWidget->setVisible(value);
}

void TControl::SetTabStop(bool value)
{
    FTabStop = value;
    FWidget->setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

void TControl::SetTabOrder(int value)
{
    FTabOrder = std::max(-1, value);
}

void TControl::SetParentFont(bool value)
{
    if (FParentFont == value)
        return;
    FParentFont = value;
    ApplyFont();
}

void TControl::InitColor(TColor color, bool parentColor)
{
    FColor = color;
    FParentColor = parentColor;
}

void TControl::InitTabStop(bool value)
{
    FTabStop = value;
    if (!value)
        FWidget->setFocusPolicy(Qt::ClickFocus);
}

void TControl::ApplyFont()
{
    if (FParentFont) {
        FWidget->setFont(QFont());
        FWidget->setPalette(QPalette());
        ApplyColor();
        return;
    }
    FWidget->setFont(FFont.ToQFont());
    QPalette palette = FWidget->palette();
    const QColor text = ColorToQColor(FFont.Color());
    if (text.isValid()) {
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::ButtonText, text);
    }
    FWidget->setPalette(palette);
}

void TControl::ApplyColor()
{
    QPalette palette = FWidget->palette();
    const QColor color = FParentColor ? QColor() : ColorToQColor(FColor);
    palette.setColor(ColorRole(), color.isValid() ? color : QPalette().color(ColorRole()));
    FWidget->setPalette(palette);
}

void TControl::ApplyConstraints()
{
    FWidget->setMinimumSize(FConstraints.MinWidth(), FConstraints.MinHeight());
    FWidget->setMaximumSize(FConstraints.MaxWidth() > 0 ? FConstraints.MaxWidth() : QWIDGETSIZE_MAX,
                            FConstraints.MaxHeight() > 0 ? FConstraints.MaxHeight() : QWIDGETSIZE_MAX);
    SetBounds(Left(), Top(), Width(), Height());
}

// ---------------------------------------------------------------- TEditBox

TEditBox::TEditBox(QWidget *parent) : TMaskEdit(parent), TControl(this)
{
    resize(121, 21);
}

void TEditBox::SetBorderStyle(TBorderStyle value)
{
    FBorderStyle = value;
    setFrame(value == bsSingle);
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(QWidget *parent) : QComboBox(parent), TControl(this)
{
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
    resize(145, 21);
    FItems.OnChange = [this] { ItemsChanged(); };
}

void TComboBox::SetStyle(TComboBoxStyle value)
{
    if (FStyle == value)
        return;
    const QString text = Text();
    FStyle = value;
    if (isEditable() || isVisible())
        SyncEditable();
    SetText(text);
}

QString TComboBox::Text() const
{
    if (WantsEditable() && !isEditable())
        return FText;
    return currentText();
}

void TComboBox::SetText(const QString &value)
{
    QSignalBlocker blocker(this);
    if (!WantsEditable()) {
        setCurrentIndex(FItems.IndexOf(value));
    } else if (!isEditable()) {
        FText = value;
        setCurrentIndex(-1);
    } else {
        setCurrentIndex(FItems.Lines().indexOf(value));
        setEditText(value);
    }
}

void TComboBox::SetItemIndex(int value)
{
    setCurrentIndex(value >= 0 && value < count() ? value : -1);
    if (WantsEditable() && !isEditable())
        FText = currentText();
}

void TComboBox::SetMaxLength(int value)
{
    FMaxLength = std::max(0, value);
    if (isEditable())
        lineEdit()->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TComboBox::showEvent(QShowEvent *event)
{
    SyncEditable();
    QComboBox::showEvent(event);
}

void TComboBox::SyncEditable()
{
    if (WantsEditable() == isEditable())
        return;
    const QString text = Text();
    QSignalBlocker blocker(this);
    setEditable(WantsEditable());
    if (isEditable()) {
        setInsertPolicy(QComboBox::NoInsert);
        lineEdit()->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
        setCurrentIndex(FItems.Lines().indexOf(text));
        setEditText(text);
    }
}

void TComboBox::ItemsChanged()
{
    // A changed list keeps the typed text but chooses no item, as the classic control does.
    const QString text = WantsEditable() ? Text() : QString();
    QSignalBlocker blocker(this);
    clear();
    addItems(FItems.Lines());
    setCurrentIndex(-1);
    if (isEditable())
        setEditText(text);
}

// ---------------------------------------------------------------- TRadioGroup

namespace {

// A radio button that frames itself in the highlight colour while it has the keyboard
// focus: the style's own mark on the small circle is easily missed.
class TGroupButton : public QRadioButton {
public:
    explicit TGroupButton(QWidget *parent) : QRadioButton(parent) { }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QRadioButton::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    void focusInEvent(QFocusEvent *event) override
    {
        QRadioButton::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QRadioButton::focusOutEvent(event);
        update();
    }
};

} // namespace

TRadioGroup::TRadioGroup(QWidget *parent) : QGroupBox(parent), TControl(this), FGroup(new QButtonGroup(this))
{
    InitColor(clBtnFace, true);
    InitTabStop(false);
    resize(185, 105);
    FItems.OnChange = [this] { ItemsChanged(); };
    connect(FGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            FItemIndex = id;
    });
}

void TRadioGroup::SetColumns(int value)
{
    value = std::clamp(value, 1, 16);
    if (FColumns == value)
        return;
    FColumns = value;
    ArrangeButtons();
}

int TRadioGroup::ItemIndex() const
{
    return FItemIndex;
}

void TRadioGroup::SetItemIndex(int value)
{
    FItemIndex = std::max(-1, value);
    if (FButtons.isEmpty())
        return;
    FItemIndex = std::min(FItemIndex, static_cast<int>(FButtons.size()) - 1);
    if (FItemIndex >= 0) {
        FButtons.at(FItemIndex)->setChecked(true);
        return;
    }
    // No button checked: an exclusive group does not allow unchecking the last one.
    FGroup->setExclusive(false);
    for (QRadioButton *button : std::as_const(FButtons))
        button->setChecked(false);
    FGroup->setExclusive(true);
}

QRadioButton *TRadioGroup::Button(int index) const
{
    return FButtons.value(index);
}

int TRadioGroup::ButtonCount() const
{
    return FButtons.size();
}

void TRadioGroup::ItemsChanged()
{
    const int count = FItems.Count();
    while (FButtons.size() > count)
        delete FButtons.takeLast();
    for (int i = 0; i < count; ++i) {
        if (i == FButtons.size()) {
            auto *button = new TGroupButton(this);
            FGroup->addButton(button, i);
            FButtons.append(button);
            if (isVisible())
                button->show();
        }
        FButtons.at(i)->setText(ShowAmpersands(FItems[i]));
    }
    ArrangeButtons();
    SetItemIndex(count > 0 ? FItemIndex : -1);
}

void TRadioGroup::ArrangeButtons()
{
    if (FButtons.isEmpty())
        return;
    if (!layout()) {
        auto *grid = new QGridLayout(this);
        grid->setContentsMargins(8, 4, 8, 4);
        grid->setSpacing(0);
    }
    auto *grid = static_cast<QGridLayout *>(layout());
    for (QRadioButton *button : std::as_const(FButtons))
        grid->removeWidget(button);
    // Column by column, like the classic control.
    const int perColumn = (static_cast<int>(FButtons.size()) + FColumns - 1) / FColumns;
    for (int i = 0; i < FButtons.size(); ++i)
        grid->addWidget(FButtons.at(i), i % perColumn, i / perColumn);
}

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(QWidget *parent) : QListWidget(parent), TControl(this)
{
    resize(121, 97);
    setSelectionMode(QAbstractItemView::SingleSelection);
    FItems.OnChange = [this] { ItemsChanged(); };
}

int TListBox::ItemIndex() const
{
    if (!FMultiSelect) {
        const QList<QListWidgetItem *> selected = selectedItems();
        return selected.isEmpty() ? -1 : row(selected.first());
    }
    return currentRow();
}

void TListBox::SetItemIndex(int value)
{
    if (value < 0 || value >= count()) {
        if (!FMultiSelect)
            clearSelection();
        setCurrentRow(-1, QItemSelectionModel::NoUpdate);
        return;
    }
    setCurrentRow(value, FMultiSelect ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
}

void TListBox::SetMultiSelect(bool value)
{
    FMultiSelect = value;
    UpdateSelectionMode();
}

void TListBox::SetExtendedSelect(bool value)
{
    FExtendedSelect = value;
    UpdateSelectionMode();
}

void TListBox::SetColumns(int value)
{
    FColumns = std::max(0, value);
    setWrapping(FColumns > 0);
    setResizeMode(FColumns > 0 ? QListView::Adjust : QListView::Fixed);
}

bool TListBox::Selected(int index) const
{
    const QListWidgetItem *it = item(index);
    return it && it->isSelected();
}

void TListBox::SetSelected(int index, bool value)
{
    if (QListWidgetItem *it = item(index))
        it->setSelected(value);
}

int TListBox::SelCount() const
{
    return FMultiSelect ? static_cast<int>(selectedItems().size()) : -1;
}

void TListBox::SetBorderStyle(TBorderStyle value)
{
    FBorderStyle = value;
    setFrameShape(value == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TListBox::ItemsChanged()
{
    QSignalBlocker blocker(this);
    clear();
    addItems(FItems.Lines());
}

void TListBox::UpdateSelectionMode()
{
    if (!FMultiSelect)
        setSelectionMode(QAbstractItemView::SingleSelection);
    else
        setSelectionMode(FExtendedSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::MultiSelection);
}

// ---------------------------------------------------------------- TRichEdit

TRichEdit::TRichEdit(QWidget *parent) : QPlainTextEdit(parent), TControl(this)
{
    resize(185, 89);
    setTabChangesFocus(true);
    SetScrollBars(ssNone);
    FLines.OnChange = [this] { LinesChanged(); };
    connect(this, &QPlainTextEdit::textChanged, this, &TRichEdit::DocumentChanged);
}

QString TRichEdit::Text() const
{
    return FLines.Lines().join(QLatin1String("\r\n"));
}

void TRichEdit::SetScrollBars(TScrollStyle value)
{
    FScrollBars = value;
    const bool horizontal = value == ssHorizontal || value == ssBoth;
    const bool vertical = value == ssVertical || value == ssBoth;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TRichEdit::SetWordWrap(bool value)
{
    FWordWrap = value;
    setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TRichEdit::SetBorderStyle(TBorderStyle value)
{
    FBorderStyle = value;
    setFrameShape(value == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TRichEdit::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && !WantReturns && !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore(); // the dialog's default button gets it
        return;
    }
    if (MaxLength > 0 && !event->text().isEmpty() && event->text().at(0) >= QLatin1Char(' ') &&
        toPlainText().size() >= MaxLength && !textCursor().hasSelection())
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void TRichEdit::LinesChanged()
{
    if (FSyncing)
        return;
    FSyncing = true;
    setPlainText(FLines.Lines().join(QLatin1Char('\n')));
    FSyncing = false;
}

void TRichEdit::DocumentChanged()
{
    if (FSyncing)
        return;
    FSyncing = true;
    const QString text = toPlainText();
    FLines.Assign(text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
    FSyncing = false;
}

// ---------------------------------------------------------------- TDateTimePicker

namespace {

// A day number from its whole days and a time of day; before 30 Dec 1899 the whole
// days are negative and the time still counts forward.
double JoinDayNumber(double days, double time)
{
    days = std::trunc(days);
    time = std::fabs(time - std::trunc(time));
    return days >= 0 ? days + time : days - time;
}

} // namespace

TDateTimePicker::TDateTimePicker(QWidget *parent)
    : QDateTimeEdit(parent), TControl(this), FDateTime(DateTimeToDayNumber(QDateTime::currentDateTime()))
{
    resize(186, 21);
    // Day numbers know no time zones; UTC also spares a time zone look-up per value.
    setTimeSpec(Qt::UTC);
    setMinimumDateTime(QDateTime(QDate(100, 1, 1), QTime(0, 0), Qt::UTC));
    UpdateFormat();
    ShowValue();
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime &value) {
        if (!value.isValid())
            return;
        FDateTime = FKind == dtkDate ? JoinDayNumber(DateToDayNumber(value.date()), FDateTime)
                                     : JoinDayNumber(FDateTime, TimeToDayFraction(value.time()));
    });
}

void TDateTimePicker::SetDateTime(double value)
{
    if (!std::isfinite(value))
        return;
    FDateTime = value;
    ShowValue();
}

void TDateTimePicker::SetDate(double value)
{
    if (!std::isfinite(value))
        return;
    SetDateTime(JoinDayNumber(value, FDateTime));
}

void TDateTimePicker::SetTime(double value)
{
    if (!std::isfinite(value))
        return;
    SetDateTime(JoinDayNumber(FDateTime, value));
}

QDate TDateTimePicker::PickedDate() const
{
    return DayNumberToDate(FDateTime);
}

void TDateTimePicker::SetKind(TDateTimeKind value)
{
    FKind = value;
    UpdateFormat();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value)
{
    FDateFormat = value;
    UpdateFormat();
}

void TDateTimePicker::SetDateMode(TDTDateMode value)
{
    FDateMode = value;
    UpdateFormat();
}

void TDateTimePicker::SetMinDate(double value)
{
    FMinDate = std::isfinite(value) ? value : 0;
    UpdateRange();
}

void TDateTimePicker::SetMaxDate(double value)
{
    FMaxDate = std::isfinite(value) ? value : 0;
    UpdateRange();
}

void TDateTimePicker::UpdateFormat()
{
    QString format;
    if (FKind == dtkTime)
        format = QLocale::system().timeFormat(QLocale::ShortFormat);
    else if (FDateFormat == dfLong)
        format = QLocale::system().dateFormat(QLocale::LongFormat);
    else
        format = ShortDateFormat();
    const bool popup = FKind == dtkDate && FDateMode == dmComboBox;
    if (format == displayFormat() && popup == calendarPopup())
        return;
    QSignalBlocker blocker(this);
    setDisplayFormat(format);
    setCalendarPopup(popup);
    ShowValue();
}

void TDateTimePicker::UpdateRange()
{
    // The limits narrow what the user can pick; they do not change the stored value.
    QSignalBlocker blocker(this);
    const QDate low = FMinDate != 0 ? DayNumberToDate(FMinDate) : QDate(100, 1, 1);
    const QDate high = FMaxDate != 0 ? DayNumberToDate(FMaxDate) : QDate(9999, 12, 31);
    if (low.isValid() && high.isValid() && low <= high)
        setDateRange(low, high);
    ShowValue();
}

void TDateTimePicker::ShowValue()
{
    SetShownDateTime(QDateTime(DayNumberToDate(FDateTime), DayFractionToTime(FDateTime), Qt::UTC));
}

void TDateTimePicker::SetShownDateTime(const QDateTime &value)
{
    if (!value.isValid())
        return;
    QSignalBlocker blocker(this);
    setDateTime(value);
}

// ---- Typing a date ---------------------------------------------------------------

namespace {

// The section of the picker in which the typing of a date started.
const char *const TypingSectionProperty = "TypingSection";

bool IsDateSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char('-');
}

} // namespace

QDate TDateTimePicker::ParseTypedDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QString order; // d, m and y in the order of the short date format
    for (QChar c : ShortDateFormat().toLower())
        if ((c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) && !order.contains(c))
            order += c;
    if (order.size() != 3)
        order = QStringLiteral("mdy");
    QStringList parts;
    bool digitsOnly = true;
    for (QChar c : t)
        if (!c.isDigit())
            digitsOnly = false;
    if (digitsOnly) {
        // Two digits for day and month, four or two for the year.
        if (t.size() != 8 && t.size() != 6)
            return {};
        const int yearDigits = t.size() == 8 ? 4 : 2;
        int at = 0;
        for (QChar o : order) {
            const int n = o == QLatin1Char('y') ? yearDigits : 2;
            parts << t.mid(at, n);
            at += n;
        }
    } else {
        QString part;
        for (QChar c : t) {
            if (c.isDigit()) {
                part += c;
            } else if (IsDateSeparator(c) || c == QLatin1Char(' ')) {
                parts << part;
                part.clear();
            } else {
                return {};
            }
        }
        parts << part;
        if (parts.size() != 3)
            return {};
    }
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString &p = parts.at(i);
        if (p.isEmpty() || p.size() > (order.at(i) == QLatin1Char('y') ? 4 : 2))
            return {};
        if (order.at(i) == QLatin1Char('d'))
            day = p.toInt();
        else if (order.at(i) == QLatin1Char('m'))
            month = p.toInt();
        else if (p.size() == 4)
            year = p.toInt();
        else if (p.size() == 2)
            year = p.toInt() + (p.toInt() < 50 ? 2000 : 1900); // the usual two-digit window
        else
            return {}; // a year of one or three digits is a typing slip, not a year
    }
    const QDate date(year, month, day);
    return date.isValid() ? date : QDate();
}

void TDateTimePicker::keyPressEvent(QKeyEvent *event)
{
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    // F4 and Alt+Down open the calendar, as they open a drop-down list.
    const bool dropKey = (event->key() == Qt::Key_F4 && plain) ||
                         (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
    if (dropKey && calendarPopup() && !isReadOnly()) {
        if (FTyping)
            TakeTyped();
        QStyleOptionComboBox option;
        option.initFrom(this);
        option.editable = true;
        option.frame = true;
        option.subControls = QStyle::SC_All;
        const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
        // The picker opens its calendar only from a press on its arrow.
        const QPointF at = arrow.isValid() ? arrow.center() : QPointF(width() - 4, height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QDateTimeEdit::mousePressEvent(&press);
        event->accept();
        return;
    }
    if (FKind == dtkDate && !isReadOnly() && plain) {
        const QString text = event->text();
        if (text.size() == 1 &&
            (text.at(0).isDigit() || IsDateSeparator(text.at(0)) || (FTyping && text.at(0) == QLatin1Char(' ')))) {
            TypeText(text);
            event->accept();
            return;
        }
        if (FTyping) {
            switch (event->key()) {
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Home:
            case Qt::Key_End:
                EditTyped(event->key(), event->modifiers());
                event->accept();
                return;
            case Qt::Key_Escape:
                // The typing is given up; the date stays as it was.
                FTyping = false;
                ShowValue();
                break;
            default:
                // Enter, Tab, Up and Down take the typed date first.
                TakeTyped();
                break;
            }
        }
    }
    QDateTimeEdit::keyPressEvent(event);
}

void TDateTimePicker::focusOutEvent(QFocusEvent *event)
{
    if (FTyping)
        TakeTyped();
    QDateTimeEdit::focusOutEvent(event);
}

bool TDateTimePicker::focusNextPrevChild(bool next)
{
    if (FTyping)
        TakeTyped();
    return QWidget::focusNextPrevChild(next);
}

void TDateTimePicker::TypeText(const QString &text)
{
    QLineEdit *edit = lineEdit();
    QString current = edit->text();
    int pos = edit->cursorPosition();
    if (!FTyping) {
        // The first key starts a new date: people type the whole date. A few digits
        // alone go to the part (day, month, year) the typing started in.
        FTyping = true;
        setProperty(TypingSectionProperty, int(currentSection()));
        current.clear();
        pos = 0;
    } else if (edit->hasSelectedText()) {
        pos = edit->selectionStart();
        current.remove(pos, edit->selectedText().size());
    }
    // A whole date is typed over from the caret (after Home), past its separators.
    const bool over = current.size() >= 10;
    if (over && pos >= current.size())
        return;
    if (over && text.at(0).isDigit() && IsDateSeparator(current.at(pos)) && pos + 1 < current.size())
        ++pos;
    if (over)
        current.replace(pos, 1, text);
    else
        current.insert(pos, text);
    // The spin box must not read the half-typed text as sections, and its validator
    // must not "fix" it (4/31 would become 4/30).
    const QSignalBlocker blocker(edit);
    const QValidator *validator = edit->validator();
    edit->setValidator(nullptr);
    edit->setText(current);
    edit->setCursorPosition(pos + text.size());
    edit->setValidator(validator);
}

void TDateTimePicker::EditTyped(int key, Qt::KeyboardModifiers modifiers)
{
    QLineEdit *edit = lineEdit();
    const QSignalBlocker blocker(edit);
    const QValidator *validator = edit->validator();
    edit->setValidator(nullptr);
    const bool mark = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Backspace:
        edit->backspace();
        break;
    case Qt::Key_Delete:
        edit->del();
        break;
    case Qt::Key_Left:
        edit->cursorBackward(mark);
        break;
    case Qt::Key_Right:
        edit->cursorForward(mark);
        break;
    case Qt::Key_Home:
        edit->home(mark);
        break;
    case Qt::Key_End:
        edit->end(mark);
        break;
    default:
        break;
    }
    edit->setValidator(validator);
}

void TDateTimePicker::TakeTyped()
{
    if (!FTyping)
        return;
    FTyping = false;
    const QString typed = lineEdit()->text();
    QDate date = ParseTypedDate(typed);
    static const QRegularExpression digits(QStringLiteral("^\\d{1,4}$"));
    if (!date.isValid() && digits.match(typed).hasMatch()) {
        const QDate shown = PickedDate();
        const int value = typed.toInt();
        switch (property(TypingSectionProperty).toInt()) {
        case QDateTimeEdit::DaySection:
            date = typed.size() <= 2 ? QDate(shown.year(), shown.month(), value) : QDate();
            break;
        case QDateTimeEdit::MonthSection:
            date = typed.size() <= 2 ? QDate(shown.year(), value, shown.day()) : QDate();
            break;
        case QDateTimeEdit::YearSection:
            date = typed.size() == 4 ? QDate(value, shown.month(), shown.day()) : QDate();
            break;
        default:
            break;
        }
    }
    if (date.isValid() && date >= minimumDate() && date <= maximumDate()) {
        // Through the spin box, so that the change is reported as a pick would be.
        setDateTime(QDateTime(date, DayFractionToTime(FDateTime), Qt::UTC));
        ShowValue();
        return;
    }
    ShowValue();
    lineEdit()->selectAll();
    ShowMessage(QLatin1Char('"') + typed + QStringLiteral("\" is not a valid date."));
}
