#include "testing/SelectTest.h"

#include "database/Database.h"
#include "dialogs/FontGrowth.h"
#include "question/Grading.h"
#include "testtaking/ResultStore.h"
#include "toolkit/Convert.h"
#include "toolkit/StdDialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace Tamberlin {

const QString TForm_SelectTest::ViewNotAvailableMessage = QStringLiteral("Viewing a taken test is not available yet.");
const QString TForm_SelectTest::NoTestsMessage = QStringLiteral("This class has no tests yet.");
const QString TForm_SelectTest::AllTakenMessage =
    QStringLiteral("You have taken every test of this class. Choose one and press View Test to see your answers.");

TForm_SelectTest::TForm_SelectTest(TDbQuery *query, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      Query(query)
{
    setObjectName(QStringLiteral("Form_SelectTest"));
    setFixedSize(Grown(this, QSize(512, 343)));

    StringGrid = new QTableWidget(1, 5, this);
    StringGrid->setAccessibleName(QStringLiteral("Tests"));
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    StringGrid->setHorizontalHeaderLabels({QString(), QString(), QString(), QString(), QString()});
    StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the grid for the buttons; the arrow keys move between the tests.
    StringGrid->setTabKeyNavigation(false);
    StringGrid->verticalHeader()->hide();
    StringGrid->horizontalHeader()->setHighlightSections(false);
    StringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid->horizontalHeader()->setStretchLastSection(true);
    // 16 pixels, or what the platform's font needs.
    const int rowHeight = std::max(16, StringGrid->fontMetrics().height() + 4);
    StringGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid->verticalHeader()->setMinimumSectionSize(rowHeight);
    StringGrid->verticalHeader()->setDefaultSectionSize(rowHeight);
    StringGrid->setColumnHidden(ColID, true);
    StringGrid->setColumnWidth(ColRow, 30);
    // The status column takes what "INCOMPLETE" needs in the platform's font, from the name column.
    const int statusWidth = std::max(77, StringGrid->fontMetrics().horizontalAdvance(Grading::Incomplete) + 12);
    StringGrid->setColumnWidth(ColName, 320 - (statusWidth - 77));
    StringGrid->setColumnWidth(ColStatus, statusWidth);
    StringGrid->setColumnWidth(ColGrade, 64);

    Panel_Buttons = new QWidget(this);
    Panel_Buttons->setObjectName(QStringLiteral("Panel_Buttons"));
    BitBtn_OK = new QPushButton(QStringLiteral("OK"), Panel_Buttons);
    BitBtn_OK->setObjectName(QStringLiteral("BitBtn_OK"));
    BitBtn_OK->setDefault(true);
    BitBtn_OK->setEnabled(false);
    BitBtn_Cancel = new QPushButton(QStringLiteral("Cancel"), Panel_Buttons);
    BitBtn_Cancel->setObjectName(QStringLiteral("BitBtn_Cancel"));
    BitBtn_Cancel->setAutoDefault(false);
    Button_View = new QPushButton(QStringLiteral("View Test"), Panel_Buttons);
    Button_View->setObjectName(QStringLiteral("Button_View"));
    Button_View->setAutoDefault(false);
    Button_View->setEnabled(false);
    auto buttons = new QHBoxLayout(Panel_Buttons);
    buttons->setContentsMargins(8, 6, 8, 8);
    buttons->addWidget(BitBtn_OK);
    buttons->addWidget(BitBtn_Cancel);
    buttons->addStretch();
    buttons->addWidget(Button_View);

    Label_Empty = new QLabel(this);
    Label_Empty->setObjectName(QStringLiteral("Label_Empty"));
    Label_Empty->setTextFormat(Qt::PlainText);
    Label_Empty->setWordWrap(true);
    Label_Empty->setContentsMargins(8, 6, 8, 0);
    Label_Empty->hide();

    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(StringGrid, 1);
    layout->addWidget(Label_Empty);
    layout->addWidget(Panel_Buttons);

    connect(StringGrid, &QTableWidget::currentCellChanged, this, &TForm_SelectTest::StringGridClick);
    connect(StringGrid, &QTableWidget::cellClicked, this, &TForm_SelectTest::StringGridClick);
    connect(StringGrid, &QTableWidget::cellDoubleClicked, this, &TForm_SelectTest::StringGridDblClick);
    connect(BitBtn_OK, &QPushButton::clicked, this, &TForm_SelectTest::BitBtn_OKClick);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &TForm_SelectTest::BitBtn_CancelClick);
    connect(Button_View, &QPushButton::clicked, this, &TForm_SelectTest::Button_ViewClick);
}

QString TForm_SelectTest::Cells(int column, int row) const
{
    if (row == 0) {
        const QTableWidgetItem *title = StringGrid->horizontalHeaderItem(column);
        return title ? title->text() : QString();
    }
    const QTableWidgetItem *cell = StringGrid->item(row - 1, column);
    return cell ? cell->text() : QString();
}

void TForm_SelectTest::SetCell(int column, int row, const QString &text)
{
    if (row == 0) {
        StringGrid->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem *cell = StringGrid->item(row - 1, column)) {
        cell->setText(text);
        return;
    }
    auto cell = new QTableWidgetItem(text);
    if (column == ColRow) {
        // The fixed column looks like the title row.
        cell->setBackground(StringGrid->palette().button());
        cell->setTextAlignment(Qt::AlignCenter);
    }
    StringGrid->setItem(row - 1, column, cell);
}

int TForm_SelectTest::RowCount() const
{
    return StringGrid->rowCount() + 1;
}

int TForm_SelectTest::SelectedRow() const
{
    const QList<QTableWidgetItem *> selected = StringGrid->selectedItems();
    if (!selected.isEmpty())
        return selected.first()->row() + 1;
    const QModelIndexList rows = StringGrid->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void TForm_SelectTest::SelectRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    StringGrid->setCurrentCell(row - 1, ColName, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TForm_SelectTest::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_SelectTest::FormShow()
{
    Cancelled = true;
    StringGrid->clearContents();
    StringGrid->setRowCount(1);
    try {
        const QStringList titles = {QStringLiteral("ID"), QStringLiteral("Row"), QStringLiteral("Test Name"),
                                    QStringLiteral("Status"), QStringLiteral("Grade")};
        for (int column = 0; column < titles.size(); ++column)
            SetCell(column, 0, titles.at(column));

        // The class key goes into the statements unquoted: it must be a number.
        if (!Query)
            throw EDatabaseError(QStringLiteral("The window has no statement object to run its statements on."));
        bool isNumber = false;
        const QString classKey = QString::number(StrToIntDef(ClassID, 0, &isNumber));
        if (!isNumber)
            throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(ClassID));
        Query->Clear();
        Query->Add(QStringLiteral("SELECT * FROM classmaster, testmaster, classtest"));
        Query->Add(QStringLiteral("WHERE classmaster.ID=classtest.CLASSID"));
        Query->Add(QStringLiteral("AND testmaster.ID=classtest.TESTID"));
        Query->Add(QStringLiteral("AND classtest.CLASSID=") + classKey);
        Query->Add(QStringLiteral("ORDER BY testmaster.NAME"));
        Query->Open();
        int row = 0;
        for (; !Query->Eof(); Query->Next()) {
            ++row;
            if (row >= RowCount())
                StringGrid->setRowCount(row);
            SetCell(ColID, row, Query->FieldByName(QStringLiteral("testmaster.ID")).AsString());
            SetCell(ColName, row, Query->FieldByName(QStringLiteral("testmaster.NAME")).AsString());
        }
        Query->Close();

        for (row = 1; row < RowCount(); ++row) {
            const QString testID = Cells(ColID, row);
            if (testID.isEmpty())
                continue;
            Query->Clear();
            Query->Add(QStringLiteral("SELECT * FROM testresults"));
            Query->Add(QStringLiteral("WHERE CLASSID = ") + classKey);
            Query->Add(QStringLiteral("AND STUDENTID = ") + QuotedStr(StudentID));
            Query->Add(QStringLiteral("AND TESTID    = ") + testID);
            // Of rows doubled by older copies of the program, the latest counts.
            Query->Add(QStringLiteral("ORDER BY SERIAL DESC"));
            Query->Open();
            if (Query->Eof()) {
                SetCell(ColStatus, row, Grading::Incomplete);
                SetCell(ColGrade, row, QStringLiteral("N/A"));
            } else {
                SetCell(ColStatus, row, Query->FieldByName(QStringLiteral("STATUS")).AsString());
                // A test begun and not finished has no grade yet.
                const bool begun = IsProgressText(Query->FieldByName(QStringLiteral("ANSWERS")).AsString());
                SetCell(ColGrade, row,
                        begun ? QStringLiteral("N/A")
                              : Query->FieldByName(QStringLiteral("GRADE")).AsString() + QLatin1Char('%'));
            }
            Query->Close();
        }
        ShowWhyEmpty();
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        Label_Empty->hide();
        ShowMessage(e.Message());
    }
    NumberGridRows();
    SelectRow(1);
    StringGridClick();
}

void TForm_SelectTest::ShowWhyEmpty()
{
    bool anyTest = false;
    bool anyToTake = false;
    for (int row = 1; row < RowCount(); ++row) {
        if (Cells(ColID, row).isEmpty())
            continue;
        anyTest = true;
        anyToTake = anyToTake || Cells(ColStatus, row) == Grading::Incomplete;
    }
    Label_Empty->setText(anyTest ? AllTakenMessage : NoTestsMessage);
    Label_Empty->setVisible(!anyTest || !anyToTake);
}

void TForm_SelectTest::NumberGridRows()
{
    for (int row = 1; row < RowCount(); ++row)
        SetCell(ColRow, row, QString::number(row));
}

void TForm_SelectTest::StringGridClick()
{
    const int row = SelectedRow();
    const QString status = row > 0 ? Cells(ColStatus, row) : QString();
    BitBtn_OK->setEnabled(status == Grading::Incomplete);
    Button_View->setEnabled(!status.isEmpty() && status != Grading::Incomplete);
}

void TForm_SelectTest::StringGridDblClick()
{
    // As OK does: a passed or failed test is only viewed, never taken again over its result.
    const int row = SelectedRow();
    if (row > 0 && !Cells(ColID, row).isEmpty() && BitBtn_OK->isEnabled())
        BitBtn_OKClick();
}

void TForm_SelectTest::BitBtn_OKClick()
{
    Cancelled = false;
    CloseWindow();
}

void TForm_SelectTest::BitBtn_CancelClick()
{
    Cancelled = true;
    CloseWindow();
}

void TForm_SelectTest::reject()
{
    BitBtn_CancelClick();
}

void TForm_SelectTest::CloseWindow()
{
    FormClose();
    done(Cancelled ? QDialog::Rejected : QDialog::Accepted);
}

void TForm_SelectTest::FormClose()
{
    const int row = SelectedRow();
    if (!Cancelled)
        TestID = row > 0 ? Cells(ColID, row) : QString();
}

void TForm_SelectTest::Button_ViewClick()
{
    const int row = SelectedRow();
    if (row == 0)
        return;
    TestID = Cells(ColID, row);
    if (OnViewTest)
        OnViewTest(this);
    else
        ShowMessage(ViewNotAvailableMessage);
}

} // namespace Tamberlin
