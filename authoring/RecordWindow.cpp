#include "authoring/RecordWindow.h"

#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/QuestionControls.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"
#include "toolkit/ListHints.h"
#include "toolkit/ListWindow.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>

namespace RecordWindow {

QString WholeNumber(const QString &text)
{
    bool ok = false;
    const int value = StrToIntDef(text, 0, &ok);
    return ok ? QString::number(value) : QString();
}

namespace {

QIcon SmallIcon(const QString &which)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (which == QLatin1String("find")) {
        painter.setPen(QPen(QColor(40, 40, 40), 2));
        painter.drawEllipse(QRectF(2, 2, 8, 8));
        painter.setPen(QPen(QColor(120, 80, 20), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    } else if (which == QLatin1String("add")) {
        painter.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(8, 2), QPointF(8, 14));
        painter.drawLine(QPointF(2, 8), QPointF(14, 8));
    } else if (which == QLatin1String("update")) {
        painter.setPen(QPen(QColor(0, 64, 192), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(2.5, 8.5);
        tick.lineTo(6.5, 12.5);
        tick.lineTo(13.5, 3.5);
        painter.drawPath(tick);
    } else if (which == QLatin1String("remove")) {
        painter.setPen(QPen(QColor(192, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    } else if (which == QLatin1String("preview")) {
        painter.setPen(QPen(QColor(60, 60, 60), 1));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(2.5, 1.5, 9, 12));
        painter.drawLine(QPointF(4.5, 4.5), QPointF(9.5, 4.5));
        painter.drawLine(QPointF(4.5, 7), QPointF(9.5, 7));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 64, 192), 1.5));
        painter.drawEllipse(QRectF(7.5, 8.5, 5, 5));
        painter.drawLine(QPointF(12, 13), QPointF(14.5, 15.5));
    }
    return QIcon(pixmap);
}

} // namespace

QWidget *ButtonRow(QWidget *parent)
{
    auto row = new QWidget(parent);
    auto layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    return row;
}

QPushButton *RowButton(QWidget *row, const QString &name, const QString &hint, const QString &icon)
{
    QPushButton *button = SmallButton(row, name, hint, icon);
    row->layout()->addWidget(button);
    return button;
}

void EditButtons(QWidget *row, const QStringList &hints, QPushButton *&add, QPushButton *&update, QPushButton *&remove)
{
    add = RowButton(row, QStringLiteral("BitBtn_Add"), hints.value(0), QStringLiteral("add"));
    update = RowButton(row, QStringLiteral("BitBtn_Update"), hints.value(1), QStringLiteral("update"));
    remove = RowButton(row, QStringLiteral("BitBtn_Remove"), hints.value(2), QStringLiteral("remove"));
}

QPushButton *SmallButton(QWidget *parent, const QString &name, const QString &hint, const QString &icon)
{
    auto button = new QPushButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    // Only an icon shows: a screen reader says the hint.
    button->setAccessibleName(hint);
    button->setIcon(SmallIcon(icon));
    button->setFixedSize(30, 23);
    button->setAutoDefault(false);
    return button;
}

QPushButton *BottomButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedSize(75, 25);
    button->setAutoDefault(false);
    return button;
}

TMaskEdit *ReadOnlyEdit(QWidget *parent, const QString &name)
{
    auto edit = new TMaskEdit(parent);
    edit->setObjectName(name);
    edit->SetReadOnly(true);
    // Greyed like the window behind it, yet its tooltip still shows the whole text.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

QWidget *BottomPanel(QWidget *parent, QPushButton **ok, QPushButton **cancel, QPushButton **close)
{
    auto panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("Panel_Bottom"));
    panel->setFixedHeight(33);
    *ok = BottomButton(panel, QStringLiteral("BitBtn_OK"), QStringLiteral("OK"));
    *cancel = BottomButton(panel, QStringLiteral("BitBtn_Cancel"), QStringLiteral("Cancel"));
    *close = BottomButton(panel, QStringLiteral("BitBtn_Close"), QStringLiteral("&Close"));
    auto layout = new QHBoxLayout(panel);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addStretch();
    layout->addWidget(*ok);
    layout->addWidget(*cancel);
    layout->addWidget(*close);
    layout->addStretch();
    return panel;
}

void KeepComboNarrow(TNvComboBox *combo)
{
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(10);
}

QGridLayout *FieldGrid(QWidget *panel, const QMargins &margins, int verticalSpacing)
{
    auto fields = new QGridLayout(panel);
    fields->setContentsMargins(margins);
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(verticalSpacing);
    fields->setColumnStretch(1, 1);
    return fields;
}

QVBoxLayout *StackPanels(QWidget *form, QWidget *top, QWidget *grid, QWidget *bottom)
{
    auto layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(grid, 1);
    layout->addWidget(bottom);
    return layout;
}

void FocusFirstEditable(QWidget *form, QWidget *grid)
{
    for (QWidget *widget = form->nextInFocusChain(); widget && widget != form; widget = widget->nextInFocusChain()) {
        if (!widget->isVisibleTo(form) || !widget->isEnabled() || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        // A spin box takes the focus through its own edit field.
        if (auto spin = qobject_cast<QAbstractSpinBox *>(widget->parentWidget())) {
            spin->setFocus(Qt::OtherFocusReason);
            return;
        }
        const auto edit = qobject_cast<QLineEdit *>(widget);
        if ((edit && !edit->isReadOnly()) || qobject_cast<QComboBox *>(widget) ||
            qobject_cast<QAbstractSpinBox *>(widget)) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (grid && grid->isVisibleTo(form))
        grid->setFocus(Qt::OtherFocusReason);
}

QList<QWidget *> TabStops(QWidget *form, QWidget *grid, QWidget *bottom)
{
    QList<QWidget *> groups[4];
    for (QWidget *widget = form->nextInFocusChain(); widget && widget != form; widget = widget->nextInFocusChain()) {
        if (!(widget->focusPolicy() & Qt::TabFocus) || !form->isAncestorOf(widget) || !widget->isVisibleTo(form) ||
            !widget->isEnabled())
            continue;
        // Inner parts of a compound control (a spin box's edit field) go with it.
        if (widget->focusProxy() && widget->focusProxy()->isAncestorOf(widget))
            continue;
        if (grid && widget != grid && grid->isAncestorOf(widget))
            continue;
        int group = 0;
        if (widget == grid)
            group = 2;
        else if (bottom && bottom->isAncestorOf(widget))
            group = 3;
        else if (qobject_cast<QPushButton *>(widget))
            group = 1;
        if (!groups[group].contains(widget))
            groups[group] << widget;
    }
    return groups[0] + groups[1] + groups[2] + groups[3];
}

namespace {

QLabel *CaptionAt(QLayoutItem *item)
{
    return item ? qobject_cast<QLabel *>(item->widget()) : nullptr;
}

QWidget *FieldAt(QLayoutItem *item)
{
    QWidget *widget = item ? item->widget() : nullptr;
    return widget && !qobject_cast<QLabel *>(widget) ? widget : nullptr;
}

void LinkCaption(QLabel *label, QWidget *field)
{
    if (!label)
        return;
    if (field && !label->buddy() && (field->focusPolicy() & Qt::TabFocus || field->focusProxy()))
        label->setBuddy(field);
    // A screen reader looks for a field's label only beside the field.
    QWidget *buddy = label->buddy();
    if (buddy && buddy->parentWidget() != label->parentWidget() && buddy->accessibleName().isEmpty())
        buddy->setAccessibleName(label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed());
}

} // namespace

void LinkCaptions(QWidget *form)
{
    for (QLayout *layout : form->findChildren<QLayout *>()) {
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            for (int row = 0; row < grid->rowCount(); ++row)
                for (int col = 0; col + 1 < grid->columnCount(); ++col)
                    LinkCaption(CaptionAt(grid->itemAtPosition(row, col)), FieldAt(grid->itemAtPosition(row, col + 1)));
        } else {
            for (int i = 0; i + 1 < layout->count(); ++i)
                LinkCaption(CaptionAt(layout->itemAt(i)), FieldAt(layout->itemAt(i + 1)));
        }
    }
    for (QLabel *label : form->findChildren<QLabel *>())
        LinkCaption(label, nullptr);
}

void TextHintFollows(QLineEdit *edit)
{
    if (edit->toolTip() == edit->text())
        return;
    edit->setToolTip(edit->text());
    if (edit->underMouse() && !edit->text().isEmpty())
        QToolTip::showText(QCursor::pos(), edit->text(), edit);
}

void RequireQuery(const TDbQuery *query)
{
    if (!query)
        throw EDatabaseError(QStringLiteral("The window has no statement object to run its statements on."));
}

bool ExecuteStatement(TDbQuery *query, const QStringList &lines)
{
    try {
        RequireQuery(query);
        query->Clear();
        for (const QString &line : lines)
            query->Add(line);
        query->ExecSQL();
        return true;
    } catch (const Exception &e) {
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return false;
    }
}

bool ExecuteTogether(TDbQuery *query, const QList<QStringList> &statements)
{
    bool begun = false;
    try {
        RequireQuery(query);
        query->Clear();
        query->Add(QStringLiteral("BEGIN IMMEDIATE"));
        query->ExecSQL();
        begun = true;
        for (const QStringList &lines : statements) {
            query->Clear();
            for (const QString &line : lines)
                query->Add(line);
            query->ExecSQL();
        }
        query->Clear();
        query->Add(QStringLiteral("COMMIT"));
        query->ExecSQL();
        return true;
    } catch (const Exception &e) {
        if (begun) {
            try {
                query->Clear();
                query->Add(QStringLiteral("ROLLBACK"));
                query->ExecSQL();
            } catch (const Exception &) {
                // The engine has already undone the step when it cannot roll it back.
            }
        }
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return false;
    }
}

int ReadNumber(TDbQuery *query, const QStringList &lines)
{
    RequireQuery(query);
    query->Clear();
    for (const QString &line : lines)
        query->Add(line);
    query->Open();
    const int value = query->Fields(0).AsInteger();
    query->Close();
    return value;
}

QString CountOf(int count, const QString &singular, const QString &plural)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? singular : plural);
}

QString JoinedList(const QStringList &parts)
{
    if (parts.size() <= 1)
        return parts.value(0);
    return parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + parts.last();
}

void CommitSpinText(QSpinBox *spin)
{
    spin->interpretText();
    if (spin->cleanText().trimmed() != QString::number(spin->value()))
        spin->setValue(spin->value());
}

} // namespace RecordWindow

TRecordsForm::TRecordsForm(TDbQuery *query, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      Query(query)
{
    using namespace RecordWindow;
    Panel_Top = new QWidget(this);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    StringGrid = new TStringGrid(this);
    Panel_Bottom = BottomPanel(this, &BitBtn_OK, &BitBtn_Cancel, &BitBtn_Close);
    FormLayout = StackPanels(this, Panel_Top, StringGrid, Panel_Bottom);
    setFixedSize(512, 343);

    connect(StringGrid, &TStringGrid::Click, this, &TRecordsForm::StringGridClick);
    connect(StringGrid, &TStringGrid::DblClick, this, &TRecordsForm::StringGridDblClick);
    connect(BitBtn_OK, &QPushButton::clicked, this, &TRecordsForm::BitBtn_OKClick);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &TRecordsForm::BitBtn_CancelClick);
    connect(BitBtn_Close, &QPushButton::clicked, this, &TRecordsForm::BitBtn_CloseClick);
}

bool TRecordsForm::LoadUnguarded(const std::function<void()> &load)
{
    try {
        RecordWindow::RequireQuery(Query);
        load();
        Query->Close();
        return true;
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        ShowErrorBox(e.Message());
        return false;
    }
}

void TRecordsForm::ListRows(const QStringList &lines, const std::function<bool(QStringList &cells)> &readRow,
                            bool withStatement)
{
    try {
        RecordWindow::RequireQuery(Query);
        Query->Clear();
        for (const QString &line : lines)
            Query->Add(line);
        Query->Open();
        for (; !Query->Eof(); Query->Next()) {
            QStringList cells;
            if (!readRow(cells))
                continue;
            const int row = StringGrid->RowCount() - 1;
            StringGrid->SetRowCells(row, cells);
            StringGrid->AppendRow();
        }
        Query->Close();
    } catch (const Exception &e) {
        const QString statement = Query ? Query->Text() : QString();
        if (Query)
            Query->Close();
        ShowMessage(withStatement ? e.Message() + QLatin1Char('\n') + statement : e.Message());
    }
    // The loop leaves one empty row at the end, unless it is the only one.
    if (StringGrid->RowCount() > 2)
        StringGrid->RemoveRow(StringGrid->RowCount() - 1);
}

void TRecordsForm::BitBtn_OKClick()
{
    Cancelled = false;
    done(QDialog::Accepted);
}

void TRecordsForm::BitBtn_CancelClick()
{
    Cancelled = true;
    done(QDialog::Rejected);
}

void TRecordsForm::BitBtn_CloseClick()
{
    Cancelled = false;
    done(QDialog::Accepted);
}

void TRecordsForm::done(int)
{
    if (isVisible() && !MayClose())
        return;
    // The close box, Escape and the bottom buttons all end here.
    if (!FClosed) {
        FClosed = true;
        FormClose();
    }
    QDialog::done(Cancelled ? QDialog::Rejected : QDialog::Accepted);
}

void TRecordsForm::HintFollowsText(QLineEdit *edit, std::function<void(QLineEdit *sender)> mouseMove)
{
    FHintEdits.append({edit, std::move(mouseMove)});
    edit->setMouseTracking(true);
    edit->installEventFilter(this);
}

QGridLayout *TRecordsForm::TopFields(int height, const QMargins &margins, int verticalSpacing)
{
    Panel_Top->setFixedHeight(height);
    return RecordWindow::FieldGrid(Panel_Top, margins, verticalSpacing);
}

bool TRecordsForm::Execute(const QStringList &lines)
{
    return RecordWindow::ExecuteStatement(Query, lines);
}

QString TRecordsForm::NextKey(const QString &table, const QStringList &references)
{
    if (!Query) {
        ReportDbError(QStringLiteral("The window has no statement object to run its statements on."));
        return QString();
    }
    Query->Close();
    if (references.isEmpty())
        return ::NextID(*Query, table);
    // Rows left behind by a delete in a file from before still name their old key: a new
    // row must not take it over with them.
    QString keys = QStringLiteral("SELECT MAX(ID) AS ID FROM ") + table;
    for (const QString &reference : references)
        keys += QStringLiteral(" UNION ALL SELECT MAX(") + reference.section(QLatin1Char('.'), 1) +
                QStringLiteral(") FROM ") + reference.section(QLatin1Char('.'), 0, 0);
    try {
        return QString::number(
            RecordWindow::ReadNumber(Query, {QStringLiteral("SELECT MAX(ID) FROM (") + keys + QLatin1Char(')')}) + 1);
    } catch (const Exception &e) {
        Query->Close();
        ReportDbError(e.Message());
        return QString();
    }
}

bool TRecordsForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        for (const auto &[edit, mouseMove] : std::as_const(FHintEdits))
            if (edit == watched && mouseMove)
                mouseMove(edit);
    return QDialog::eventFilter(watched, event);
}

void TRecordsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FClosed = false;
    FormShow();
    RecordWindow::LinkCaptions(this);
    if (StringGrid->accessibleName().isEmpty())
        StringGrid->setAccessibleName(windowTitle());
    RecordWindow::FocusFirstEditable(this, StringGrid);
}

bool TRecordsForm::focusNextPrevChild(bool next)
{
    const QList<QWidget *> stops = RecordWindow::TabStops(this, StringGrid, Panel_Bottom);
    QWidget *focus = focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < stops.size() && focus; ++i)
        if (stops.at(i) == focus || stops.at(i)->isAncestorOf(focus))
            at = i;
    if (at < 0)
        return QDialog::focusNextPrevChild(next);
    QWidget *to = stops.at((at + (next ? 1 : stops.size() - 1)) % stops.size());
    to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void TRecordsForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (BitBtn_Cancel->isVisibleTo(this))
            BitBtn_CancelClick();
        else
            BitBtn_CloseClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

TListPickForm::TListPickForm(QWidget *parent, const QString &labelName, const QString &labelText,
                             const QString &listName)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setFixedSize(472, 293);

    Panel_Top = new QWidget(this);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    Panel_Top->setFixedHeight(27);
    FLabel = new QLabel(labelText, Panel_Top);
    FLabel->setObjectName(labelName);
    auto topLayout = new QHBoxLayout(Panel_Top);
    topLayout->setContentsMargins(8, 2, 8, 2);
    topLayout->addWidget(FLabel);
    topLayout->addStretch();

    FList = new TQAListbox(this, this);
    FList->setObjectName(listName);
    SetUpHintList(FList);
    FLabel->setBuddy(FList);
    // A double click anywhere in the list counts, also below its last item.
    FList->viewport()->installEventFilter(this);

    Panel_Bottom = OkCancelPanel(this, &Button_OK, &Button_Cancel, QMargins(8, 4, 8, 6), 36);
    StackListPanels(this, Panel_Top, FList, Panel_Bottom, QMargins(8, 0, 8, 0));

    connect(FList, &QListWidget::itemSelectionChanged, this, &TListPickForm::ListClick);
    connect(FList, &QListWidget::itemEntered, this, &TListPickForm::ListMouseMove);
    connect(Button_OK, &QPushButton::clicked, this, &TListPickForm::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &TListPickForm::Button_CancelClick);
}

bool TListPickForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FList->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Button_OKClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TListPickForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !FShowingAgain)
        FormShow();
}

void TListPickForm::ShowList(bool selectFirst)
{
    FList->setFocus();
    FitListExtent(FList);
    if (selectFirst && FList->count() > 0)
        FList->SetItemIndex(0);
    ListClick();
}

void TListPickForm::ListClick()
{
    Button_OK->setEnabled(FList->ItemIndex() >= 0);
}

void TListPickForm::ListMouseMove(QListWidgetItem *item)
{
    ShowItemHint(FList, item);
}

void TListPickForm::Button_CancelClick()
{
    Cancelled = true;
    done(QDialog::Rejected);
}

void TListPickForm::reject()
{
    Button_CancelClick();
}

void TListPickForm::FormClose()
{
    QToolTip::hideText();
}

void TListPickForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}
