#include "authoring/MembershipEditor.h"

#include "authoring/SelectQuestion.h"
#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/Convert.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
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

QPushButton *SmallButton(QWidget *parent, const QString &name, const QString &hint, const QString &icon)
{
    auto button = new QPushButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
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

} // namespace RecordWindow

using namespace RecordWindow;

TMembershipForm::TMembershipForm(TDbQuery *query, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      Query(query)
{
    Panel_Top = new QWidget(this);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    Panel_Top->setFixedHeight(67);

    FButtonBox = new QWidget(Panel_Top);
    auto buttons = new QHBoxLayout(FButtonBox);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(2);
    BitBtn_Find = SmallButton(FButtonBox, QStringLiteral("BitBtn_Find"), QStringLiteral("Keyword Search"),
                              QStringLiteral("find"));
    BitBtn_Add = SmallButton(FButtonBox, QStringLiteral("BitBtn_Add"), QStringLiteral("Add Question to Test"),
                             QStringLiteral("add"));
    BitBtn_Update = SmallButton(FButtonBox, QStringLiteral("BitBtn_Update"), QStringLiteral("Update Question"),
                                QStringLiteral("update"));
    BitBtn_Remove = SmallButton(FButtonBox, QStringLiteral("BitBtn_Remove"),
                                QStringLiteral("Delete Question from Test"), QStringLiteral("remove"));
    for (QPushButton *button : {BitBtn_Find, BitBtn_Add, BitBtn_Update, BitBtn_Remove})
        buttons->addWidget(button);

    StringGrid = new TStringGrid(this);
    StringGrid->SetColCount(3);
    StringGrid->SetFixedCols(2);
    StringGrid->SetColWidths(ColSerial, -1);
    StringGrid->SetColWidths(ColRow, 30);
    StringGrid->SetColWidths(ColText, 462);
    StringGrid->SetRowMoving(true);

    Panel_Bottom = BottomPanel(this, &BitBtn_OK, &BitBtn_Cancel, &BitBtn_Close);

    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel_Top);
    layout->addWidget(StringGrid, 1);
    layout->addWidget(Panel_Bottom);
    setFixedSize(512, 343);

    connect(StringGrid, &TStringGrid::Click, this, &TMembershipForm::StringGridClick);
    connect(StringGrid, &TStringGrid::RowMoved, this, &TMembershipForm::StringGridRowMoved);
    connect(BitBtn_Find, &QPushButton::clicked, this, &TMembershipForm::BitBtn_FindClick);
    connect(BitBtn_Add, &QPushButton::clicked, this, [this] { BitBtn_AddClick(BitBtn_Add); });
    connect(BitBtn_Update, &QPushButton::clicked, this, [this] { BitBtn_AddClick(BitBtn_Update); });
    connect(BitBtn_Remove, &QPushButton::clicked, this, &TMembershipForm::BitBtn_RemoveClick);
    connect(BitBtn_OK, &QPushButton::clicked, this, &TMembershipForm::BitBtn_OKClick);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &TMembershipForm::BitBtn_CancelClick);
    connect(BitBtn_Close, &QPushButton::clicked, this, &TMembershipForm::BitBtn_CloseClick);
}

void TMembershipForm::CreateTopPanel(const QString &parentEditName, const QString &parentLabel,
                                     const QString &listName, const QString &listLabel)
{
    auto fields = new QGridLayout(Panel_Top);
    fields->setContentsMargins(8, 8, 8, 8);
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(6);
    fields->setColumnStretch(1, 1);

    FParentEdit = ReadOnlyEdit(Panel_Top, parentEditName);
    FCandidates = new TNvComboBox(Panel_Top);
    FCandidates->setObjectName(listName);
    FCandidates->setEditable(false);
    FCandidates->SetSorted(true);
    KeepComboNarrow(FCandidates);

    auto parentCaption = new QLabel(parentLabel, Panel_Top);
    parentCaption->setBuddy(FParentEdit);
    auto listCaption = new QLabel(listLabel, Panel_Top);
    listCaption->setBuddy(FCandidates);
    fields->addWidget(parentCaption, 0, 0);
    fields->addWidget(FParentEdit, 0, 1);
    fields->addWidget(FButtonBox, 0, 2, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(listCaption, 1, 0);
    fields->addWidget(FCandidates, 1, 1, 1, 2);
}

void TMembershipForm::AddFurtherButton(QPushButton *button)
{
    button->setParent(FButtonBox);
    FButtonBox->layout()->addWidget(button);
}

void TMembershipForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMembershipForm::keyPressEvent(QKeyEvent *event)
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

QString TMembershipForm::KeywordPattern(const QString &keywords)
{
    QString pattern = keywords;
    if (pattern.isEmpty())
        return pattern;
    pattern.replace(QLatin1Char(' '), QLatin1Char('%'));
    if (!pattern.startsWith(QLatin1Char('%')))
        pattern.prepend(QLatin1Char('%'));
    if (!pattern.endsWith(QLatin1Char('%')))
        pattern.append(QLatin1Char('%'));
    return pattern;
}

QString TMembershipForm::Serial(int row) const
{
    return WholeNumber(StringGrid->Cells(ColSerial, row));
}

void TMembershipForm::FormShow()
{
    FClosed = false;
    FClickAttached = false;
    if (FParentEdit)
        FParentEdit->SetText(ParentName);
    StringGrid->ClearRows();
    StringGrid->SetTitles(FTitles);
    FCandidates->Clear();

    bool candidatesRead = false;
    try {
        if (!Query)
            throw EDatabaseError(QStringLiteral("The window has no statement object to run its statements on."));
        LoadCandidates();
        Query->Close();
        candidatesRead = true;
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        // Not guarded: shown like any error nobody caught, and the members are not listed.
        ShowErrorBox(e.Message());
    }

    const QString parentKey = WholeNumber(ParentKey);
    if (candidatesRead && !parentKey.isEmpty()) {
        try {
            Query->Clear();
            for (const QString &line : MemberListingLines(parentKey))
                Query->Add(line);
            Query->Open();
            for (; !Query->Eof(); Query->Next()) {
                QString text;
                if (!MemberText(text))
                    continue;
                const int row = StringGrid->RowCount() - 1;
                StringGrid->SetCells(ColSerial, row, Query->Fields(0).AsString());
                StringGrid->SetCells(ColText, row, text);
                StringGrid->AppendRow();
            }
            Query->Close();
        } catch (const Exception &e) {
            const QString statement = Query->Text();
            Query->Close();
            ShowMessage(e.Message() + QLatin1Char('\n') + statement);
        }
        if (StringGrid->RowCount() > 2)
            StringGrid->RemoveRow(StringGrid->RowCount() - 1);
    }
    NumberRows(StringGrid, ColRow);
    StringGrid->SetRow(1);
    FClickAttached = true;
    StringGridClick();
}

void TMembershipForm::StringGridClick()
{
    if (!FClickAttached)
        return;
    // SelectItem leaves nothing selected when the text is not among the candidates.
    FCandidates->SelectItem(StringGrid->Cells(ColText, StringGrid->Row()));
}

void TMembershipForm::StringGridRowMoved(int, int)
{
    NumberRows(StringGrid, ColRow);
    UpdateSequences();
}

bool TMembershipForm::Execute(const QStringList &lines)
{
    try {
        if (!Query)
            throw EDatabaseError(QStringLiteral("The window has no statement object to run its statements on."));
        Query->Clear();
        for (const QString &line : lines)
            Query->Add(line);
        Query->ExecSQL();
        return true;
    } catch (const Exception &e) {
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return false;
    }
}

bool TMembershipForm::ConfirmDuplicate(bool updating, int row)
{
    if (FCandidates->ItemIndex() < 0)
        return true;
    const QString text = FCandidates->Text();
    if (updating && StringGrid->Cells(ColText, row).compare(text, Qt::CaseInsensitive) == 0)
        return false;
    bool found = false;
    for (int r = 1; r < StringGrid->RowCount() && !found; ++r)
        found = StringGrid->Cells(ColText, r).compare(text, Qt::CaseInsensitive) == 0;
    if (!found)
        return true;
    return ConfirmBox(DuplicateQuestion(text, updating), BtnYes | BtnNo) == ResultYes;
}

int TMembershipForm::FindSerial(const QString &parentKey, const QString &memberKey)
{
    try {
        if (!Query)
            throw EDatabaseError(QStringLiteral("The window has no statement object to run its statements on."));
        Query->Clear();
        for (const QString &line : FindSerialLines(parentKey, memberKey))
            Query->Add(line);
        Query->Open();
        int serial = -1;
        for (; !Query->Eof(); Query->Next())
            serial = qMax(serial, Query->Fields(0).AsInteger());
        Query->Close();
        return serial;
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return -1;
    }
}

int TMembershipForm::InsertMember()
{
    const int position = StringGrid->Row() + 1;
    const QString memberKey = SelectedMemberKey();
    if (memberKey.isEmpty())
        return -1;
    const QString parentKey = WholeNumber(ParentKey);
    if (!Execute(InsertLines(parentKey, memberKey, position)))
        return -1;
    return FindSerial(parentKey, memberKey);
}

bool TMembershipForm::UpdateMember()
{
    const QString memberKey = SelectedMemberKey();
    if (memberKey.isEmpty())
        return false;
    const int row = StringGrid->Row();
    const QString serial = Serial(row);
    // The placeholder row holds no stored member: showing one there would look stored.
    if (serial.isEmpty())
        return false;
    return Execute(UpdateLines(WholeNumber(ParentKey), memberKey, row, serial));
}

bool TMembershipForm::DeleteMember()
{
    const QString serial = Serial(StringGrid->Row());
    if (serial.isEmpty())
        return false;
    return Execute({DeleteLine(serial)});
}

void TMembershipForm::UpdateSequences()
{
    if (!Query)
        return;
    for (int row = 1; row < StringGrid->RowCount(); ++row) {
        const QString serial = Serial(row);
        if (serial.isEmpty())
            continue;
        try {
            Query->Clear();
            Query->Add(SequenceLine(row, serial));
            Query->ExecSQL();
        } catch (const Exception &e) {
            ShowErrorBox(QStringLiteral("UpdateSequences\n") + e.Message());
        }
    }
}

void TMembershipForm::BitBtn_AddClick(QAbstractButton *sender)
{
    const bool adding = sender == BitBtn_Add;
    if (!adding && FCandidates->ItemIndex() >= 0 && Serial(StringGrid->Row()).isEmpty()) {
        ShowMessage(QStringLiteral("This row is not stored yet. Use Add to store it."));
        return;
    }
    FClickAttached = false;
    QString serial;
    if (adding) {
        if (ConfirmDuplicate(false, StringGrid->Row())) {
            const int newSerial = InsertMember();
            if (newSerial >= 0) {
                if (StringGrid->IsPlaceholder())
                    StringGrid->SetRow(1);
                else
                    StringGrid->AppendRow();
                serial = QString::number(newSerial);
            }
        }
    } else if (ConfirmDuplicate(true, StringGrid->Row()) && UpdateMember()) {
        serial = Serial(StringGrid->Row());
    }
    if (!serial.isEmpty()) {
        const int row = StringGrid->Row();
        StringGrid->SetCells(ColSerial, row, serial);
        StringGrid->SetCells(ColText, row, FCandidates->Text());
    }
    FClickAttached = true;
    StringGridClick();
    NumberRows(StringGrid, ColRow);
}

void TMembershipForm::BitBtn_RemoveClick()
{
    const int row = StringGrid->Row();
    if (ConfirmBox(RemovalQuestion(StringGrid->Cells(ColText, row)), BtnYes | BtnNo) == ResultYes && DeleteMember()) {
        FClickAttached = false;
        StringGrid->RemoveRow(row);
        FClickAttached = true;
    }
    NumberRows(StringGrid, ColRow);
    StringGridClick();
}

void TMembershipForm::BitBtn_FindClick()
{
    QString keywords;
    if (!InputQuery(SearchCaption(), SearchPrompt(), keywords))
        return;

    QStringList found;
    try {
        if (!Query)
            throw EDatabaseError(QStringLiteral("The window has no statement object to run its statements on."));
        Query->Clear();
        for (const QString &line : SearchLines(KeywordPattern(keywords)))
            Query->Add(line);
        Query->Open();
        for (; !Query->Eof(); Query->Next())
            found << SearchRowText();
        Query->Close();
    } catch (const Exception &e) {
        found.clear();
        const QString statement = Query ? Query->Text() : QString();
        if (Query)
            Query->Close();
        ShowErrorBox(e.Message() + QLatin1Char('\n') + statement);
    }
    if (found.isEmpty()) {
        ShowMessage(NoMatchText());
        return;
    }

    QString chosen;
    {
        TForm_SelectQuestion results(Query, this);
        results.LoadQuestions = false;
        // The results window searches only the question bank; here it is a plain list.
        results.BitBtn_Find->hide();
        for (const QString &text : std::as_const(found))
            results.AddText(text);
        results.exec();
        chosen = results.CurrentText();
    }
    if (!chosen.isEmpty())
        FCandidates->SelectItem(chosen);
}

void TMembershipForm::BitBtn_OKClick()
{
    Cancelled = false;
    done(QDialog::Accepted);
}

void TMembershipForm::BitBtn_CancelClick()
{
    Cancelled = true;
    done(QDialog::Rejected);
}

void TMembershipForm::BitBtn_CloseClick()
{
    Cancelled = false;
    done(QDialog::Accepted);
}

void TMembershipForm::FormClose()
{
    NumberRows(StringGrid, ColRow);
    UpdateSequences();
}

void TMembershipForm::done(int result)
{
    // The close box, Escape and the bottom buttons all end here.
    if (!FClosed) {
        FClosed = true;
        FormClose();
    }
    QDialog::done(result);
}
