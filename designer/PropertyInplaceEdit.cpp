#include "designer/PropertyInplaceEdit.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

constexpr int MinItemHeight = 11;

// List look-ups ignore letter case; the first match wins.
int IndexOfText(const QStringList &items, const QString &text)
{
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

qint64 SystemMilliseconds()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

} // namespace

// ---------------------------------------------------------------- TPopupListBox

TPopupListBox::TPopupListBox(TPropertyInplaceEdit *editor) : QListWidget(editor), FEditor(editor)
{
    setObjectName(QStringLiteral("PopupListBox"));
    setWindowFlags(Qt::Popup | Qt::WindowDoesNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(true);
    // A one-pixel line and a one-pixel margin: the list is 4 pixels taller than its items.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setViewportMargins(1, 1, 1, 1);
    setMouseTracking(true);
}

int TPopupListBox::ItemHeight() const
{
    return std::max(MinItemHeight, fontMetrics().height());
}

void TPopupListBox::SearchKey(QChar ch)
{
    const qint64 now = FEditor->Now();
    if (now - FSearchTickCount >= TPropertyInplaceEdit::SearchTimeout)
        FSearchText.clear();
    FSearchTickCount = now;
    if (FSearchText.length() < TPropertyInplaceEdit::MaxSearchLength)
        FSearchText += ch;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text().startsWith(FSearchText, Qt::CaseInsensitive)) {
            setCurrentRow(i);
            scrollToItem(item(i));
            return;
        }
    }
}

void TPopupListBox::NavigateKey(QKeyEvent *event)
{
    QListWidget::keyPressEvent(event);
}

void TPopupListBox::keyPressEvent(QKeyEvent *event)
{
    // The list has the keyboard while it is open; the editor decides what the keys do.
    if (!FEditor->ListKeyDown(event))
        QListWidget::keyPressEvent(event);
}

bool TPopupListBox::Inside(const QPointF &globalPos) const
{
    return rect().contains(mapFromGlobal(globalPos.toPoint()));
}

void TPopupListBox::mousePressEvent(QMouseEvent *event)
{

    if (!Inside(event->globalPosition())) {
        // A press on the editor's own button must not open the list again at once.
        const QPoint onEditor = FEditor->mapFromGlobal(event->globalPosition().toPoint());
        if (FEditor->ButtonRect().contains(onEditor))
            setAttribute(Qt::WA_NoMouseReplay);
        FEditor->CloseUp(false);
        return;
    }
    FPressedInside = true;
    QListWidget::mousePressEvent(event);
}

void TPopupListBox::mouseMoveEvent(QMouseEvent *event)
{
    // Dragging from the editor's button into the list follows the pointer.
    if ((event->buttons() & Qt::LeftButton) && Inside(event->globalPosition())) {
        const QPoint pos = viewport()->mapFromGlobal(event->globalPosition().toPoint());
        if (QListWidgetItem *hit = itemAt(pos))
            setCurrentItem(hit);
    }
    QListWidget::mouseMoveEvent(event);
}

void TPopupListBox::mouseReleaseEvent(QMouseEvent *event)
{
    const bool inside = Inside(event->globalPosition());
    const bool pressedInside = FPressedInside;
    FPressedInside = false;
    // The release of the click that opened the list, still over the button, keeps it open.
    if (!pressedInside && !inside)
        return;
    if (inside) {
        const QPoint pos = viewport()->mapFromGlobal(event->globalPosition().toPoint());
        if (QListWidgetItem *hit = itemAt(pos))
            setCurrentItem(hit);
    }
    FEditor->CloseUp(inside);
}

bool TPopupListBox::event(QEvent *e)
{
    // While it is open the list sees the presses and releases outside it too; a scroll
    // area leaves those to its viewport, which never gets them.
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        mousePressEvent(static_cast<QMouseEvent *>(e));
        return true;
    case QEvent::MouseButtonRelease:
        mouseReleaseEvent(static_cast<QMouseEvent *>(e));
        return true;
    default:
        return QListWidget::event(e);
    }
}

void TPopupListBox::hideEvent(QHideEvent *event)
{

    QListWidget::hideEvent(event);
    setAttribute(Qt::WA_NoMouseReplay, false);
    // Closed from outside (the window lost the mouse or was deactivated): cancel.
    if (FEditor->ListVisible())
        FEditor->CloseUp(false);
}

// ---------------------------------------------------------------- TPropertyInplaceEdit

TPropertyInplaceEdit::TPropertyInplaceEdit(TCustomPrGrid *grid) : TPrInplaceEdit(grid)
{
    setObjectName(QStringLiteral("PropertyInplaceEdit"));
    setMouseTracking(true);
}

qint64 TPropertyInplaceEdit::Now() const
{
    return FClock ? FClock() : SystemMilliseconds();
}

TCellValueProp *TPropertyInplaceEdit::RowItem() const
{
    const int row = EditRow();
    TCellValueProps *items = Grid()->PropValues();
    return row >= 0 && row < items->Count() ? items->Items(row) : nullptr;
}

QStringList TPropertyInplaceEdit::RowPickList() const
{
    TCellValueProp *item = RowItem();
    return item && item->HasPickList() ? *item->PickList() : QStringList();
}

void TPropertyInplaceEdit::UpdateContents()
{
    const int oldRow = EditRow();
    TPrInplaceEdit::UpdateContents();
    if (FListVisible && oldRow != EditRow())
        CloseUp(false);
    TCellValueProp *item = RowItem();
    FEditStyle = Grid()->EditModeOf(EditRow());
    FReadOnly = item && item->ReadOnly();
    FChecked = item && item->Checked();
    // Long values can be read in the hint.
    setToolTip(item ? item->PropertyValue() : Text());
    // A screen reader names the property being edited; the value is the editor's text.
    if (item) {
        const QString label = item->PropertyLabel().trimmed();
        if (accessibleName() != label)
            setAccessibleName(label);
        const QString kind = FReadOnly ? QStringLiteral("read-only property") : QStringLiteral("property");
        const QString description = item->PropertyType().isEmpty() ? kind
                                                                   : kind + QLatin1Char(' ') + item->PropertyType();
        if (accessibleDescription() != description)
            setAccessibleDescription(description);
    }
    UpdateTextMargins();
    update();
}

int TPropertyInplaceEdit::FrameWidth() const
{
    switch (Grid()->EditFrameStyle()) {
    case efFlat:
        return 0;
    case efThinFramed:
        return 1;
    case efFramed:
        return 2;
    }
    return 0;
}

int TPropertyInplaceEdit::ButtonWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QRect TPropertyInplaceEdit::ButtonRect() const
{
    if (FEditStyle != emPickList && FEditStyle != emEllipsis)
        return QRect();
    // The button sits inside the editor's edge: 2 pixels narrower and lower in all with
    // the thin frame, 4 with the sunken one.
    const int inset = FrameWidth();
    const int width = ButtonWidth();
    const int left = layoutDirection() == Qt::RightToLeft ? inset : this->width() - inset - width;
    return QRect(left, inset, width, height() - 2 * inset);
}

void TPropertyInplaceEdit::UpdateTextMargins()
{
    // QLineEdit keeps 2 pixels of its own on the left, which is the 2-pixel margin wanted.
    const int frame = FrameWidth();
    const int top = Grid()->EditFrameStyle() == efFramed ? frame : frame + 2;
    const int button = ButtonRect().isEmpty() ? 0 : ButtonWidth();
    if (layoutDirection() == Qt::RightToLeft)
        setTextMargins(frame + button, top, frame, frame);
    else
        setTextMargins(frame, top, frame + button, frame);
}

void TPropertyInplaceEdit::paintEvent(QPaintEvent *event)
{
    TPrInplaceEdit::paintEvent(event);
    QPainter painter(this);
    const QRect r = rect();
    const QColor shadow = ColorToQColor(clBtnShadow);
    const QColor light = ColorToQColor(clBtnHighlight);
    const QColor dark = ColorToQColor(cl3DDkShadow);
    const QColor midLight = ColorToQColor(cl3DLight);
    auto edge = [&](const QRect &box, const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
    };
    switch (Grid()->EditFrameStyle()) {
    case efFlat:
        break;
    case efThinFramed:
        edge(r, shadow, light);
        break;
    case efFramed:
        edge(r, shadow, light);
        edge(r.adjusted(1, 1, -1, -1), dark, midLight);
        break;
    }

    const QRect button = ButtonRect();
    if (button.isEmpty())
        return;
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = button;
    option.state |= FPressed ? QStyle::State_Sunken : QStyle::State_Raised;
    if (Grid()->EditFrameStyle() == efFlat)
        option.features |= QStyleOptionButton::Flat;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
    const int shift = FPressed ? 1 : 0;
    if (FEditStyle == emEllipsis) {
        const int dot = std::max(1, ButtonWidth() / 8);
        const int x = button.left() + button.width() / 2 - 1 + shift;
        const int y = button.top() + button.height() / 2 - 1 + shift;
        const QColor ink = palette().color(QPalette::ButtonText);
        for (int dx : {-2 * dot, 0, 2 * dot})
            painter.fillRect(QRect(x + dx, y, dot, dot), ink);
    } else {
        QStyleOption arrow;
        arrow.initFrom(this);
        const int size = std::min(button.width(), button.height()) / 2;
        arrow.rect = QRect(0, 0, size, size);
        arrow.rect.moveCenter(button.center() + QPoint(shift, shift));
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    }
}

TPopupListBox *TPropertyInplaceEdit::PickListBox()
{
    if (!FPickList)
        FPickList = new TPopupListBox(this);
    return FPickList;
}

void TPropertyInplaceEdit::DropDown()
{
    if (FListVisible || FEditStyle != emPickList)
        return;
    const QStringList items = RowPickList();
    if (items.isEmpty())
        return;
    TPopupListBox *list = PickListBox();
    list->setFont(Grid()->font());
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, ColorToQColor(clWindow));
    list->setPalette(pal);
    list->clear();
    list->ClearSearch();
    const int itemHeight = list->ItemHeight();
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (const QString &text : items) {
        auto *listItem = new QListWidgetItem(text, list);
        listItem->setSizeHint(QSize(metrics.horizontalAdvance(text) + 8, itemHeight));
        widest = std::max(widest, metrics.horizontalAdvance(text) + 8);
    }
    TCellValueProp *item = RowItem();
    const int rows = std::min<qsizetype>(items.size(), item ? std::max(1u, item->DropDownRows()) : 7);
    const int height = rows * itemHeight + 4;
    const bool scrolls = items.size() > rows;
    int width = std::max(this->width(), widest + 4 + (scrolls ? list->verticalScrollBar()->sizeHint().width() : 0));

    const int current = IndexOfText(items, Text());
    list->setCurrentRow(current);

    // Below the cell, or above it when the list would reach past the bottom of the screen.
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    int y = topLeft.y() + this->height();
    const QScreen *screen = this->screen();
    if (screen && y + height > screen->geometry().bottom() + 1)
        y = topLeft.y() - height;
    int x = topLeft.x();
    if (layoutDirection() == Qt::RightToLeft)
        x = topLeft.x() + this->width() - width;
    list->setGeometry(x, y, width, height);
    FListVisible = true;
    list->show();
    if (current >= 0)
        list->scrollToItem(list->item(current));
    update();
}

void TPropertyInplaceEdit::CloseUp(bool accept)
{
    if (!FListVisible)
        return;
    FListVisible = false;
    StopTracking();
    if (FPickList)
        FPickList->hide();
    const int chosen = FPickList ? FPickList->currentRow() : -1;
    if (accept && chosen >= 0) {
        ChooseItem(chosen);
        return;
    }
    const int index = IndexOfText(RowPickList(), Text());
    if (TCellValueProp *item = RowItem())
        item->SetItemIndex(index);
    update();
    emit Grid()->OnComboCloseUp(EditRow(), index, Text(), false);
}

void TPropertyInplaceEdit::ChooseItem(int index)
{
    const QStringList items = RowPickList();
    if (index < 0 || index >= items.size() || EditRow() < 0)
        return;
    const int row = EditRow();
    const QString value = items.at(index);
    if (Text() != value)
        Grid()->SetEditText(EditCol(), row, value);
    if (TCellValueProp *item = RowItem())
        item->SetItemIndex(index);
    UpdateContents();
    selectAll();
    emit Grid()->OnComboCloseUp(row, index, value, true);
}

bool TPropertyInplaceEdit::ListKeyDown(QKeyEvent *event)
{
    if (!FListVisible)
        return false;
    const int key = event->key();
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (alt) {
            CloseUp(true);
            return true;
        }
        FPickList->NavigateKey(event);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!alt)
            CloseUp(true);
        return true;
    case Qt::Key_Escape:
        if (!alt)
            CloseUp(false);
        else
            FPickList->ClearSearch();
        return true;
    case Qt::Key_Backspace:
        FPickList->ClearSearch();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        FPickList->NavigateKey(event);
        return true;
    default:
        break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint())
        FPickList->SearchKey(typed.at(0));
    return true;
}

bool TPropertyInplaceEdit::EditorKeyDown(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers shift = event->modifiers();
    if (FEditStyle == emPickList && (key == Qt::Key_Up || key == Qt::Key_Down) && (shift & Qt::AltModifier)) {
        if (FListVisible)
            CloseUp(true);
        else
            DropDown();
        return true;
    }
    if (FListVisible)
        return ListKeyDown(event);
    if (FEditStyle == emEllipsis && (key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (shift & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        EditButtonClick();
        return true;
    }
    return false;
}

void TPropertyInplaceEdit::EditButtonClick()
{
    emit Grid()->OnEditButtonClick(EditRow(), Text());
}

void TPropertyInplaceEdit::StopTracking()
{
    FTracking = false;
    FPressed = false;
    update();
}

void TPropertyInplaceEdit::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && ButtonRect().contains(pos)) {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        if (FEditStyle == emPickList) {
            if (FListVisible)
                CloseUp(false);
            else
                DropDown();
        } else {
            FTracking = true;
            FPressed = true;
            update();
        }
        return;
    }
    if (FListVisible)
        CloseUp(false);
    TPrInplaceEdit::mousePressEvent(event);
}

void TPropertyInplaceEdit::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const bool onButton = ButtonRect().contains(pos);
    if (onButton != FMouseInButton) {
        FMouseInButton = onButton;
        setCursor(onButton ? Qt::ArrowCursor : Qt::IBeamCursor);
    }
    if (FTracking) {
        if (FPressed != onButton) {
            FPressed = onButton;
            update();
        }
        return;
    }
    TPrInplaceEdit::mouseMoveEvent(event);
}

void TPropertyInplaceEdit::mouseReleaseEvent(QMouseEvent *event)
{
    if (FTracking) {
        const bool click = event->button() == Qt::LeftButton && FPressed &&
                           ButtonRect().contains(event->position().toPoint());
        StopTracking();
        if (click && FEditStyle == emEllipsis)
            EditButtonClick();
        return;
    }
    TPrInplaceEdit::mouseReleaseEvent(event);
}

void TPropertyInplaceEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A double click on a button does nothing: the press that came with it is dropped.
    if (ButtonRect().contains(event->position().toPoint())) {
        StopTracking();
        return;
    }
    TPrInplaceEdit::mouseDoubleClickEvent(event);
}

void TPropertyInplaceEdit::FocusLost()
{
    TPrInplaceEdit::FocusLost();
    CloseUp(false);
    StopTracking();
}
