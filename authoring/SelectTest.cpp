#include "authoring/SelectTest.h"

#include "authoring/RecordWindow.h"
#include "database/Database.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace Corvella {

using namespace RecordWindow;

TForm_SelectTest::TForm_SelectTest(TDbQuery *query, QWidget *parent) : TParentRecordsForm(query, parent)
{
    setObjectName(QStringLiteral("Form_SelectTest"));
    setWindowTitle(QStringLiteral("Select Test"));

    auto fields = new QGridLayout(Panel_Top);
    fields->setContentsMargins(8, 6, 8, 4);
    fields->setVerticalSpacing(3);
    Edit_TestName = new TMaskEdit(Panel_Top);
    Edit_TestName->setObjectName(QStringLiteral("Edit_TestName"));
    Edit_ClassName = new TMaskEdit(Panel_Top);
    Edit_ClassName->setObjectName(QStringLiteral("Edit_ClassName"));
    Edit_ClassName->SetReadOnly(true);
    auto testLabel = new QLabel(QStringLiteral("Test Name:"), Panel_Top);
    testLabel->setBuddy(Edit_TestName);
    auto classLabel = new QLabel(QStringLiteral("Class Name:"), Panel_Top);
    classLabel->setBuddy(Edit_ClassName);
    fields->addWidget(testLabel, 0, 0);
    fields->addWidget(Edit_TestName, 0, 1);
    fields->addWidget(classLabel, 1, 0);
    fields->addWidget(Edit_ClassName, 1, 1);
    HintFollowsText(Edit_TestName, [this](QLineEdit *sender) { Edit_TestNameMouseMove(sender); });
    HintFollowsText(Edit_ClassName, [this](QLineEdit *sender) { Edit_TestNameMouseMove(sender); });

    StringGrid->SetColCount(5);
    StringGrid->SetFixedCols(2);
    StringGrid->SetColWidths(ColID, -1);
    StringGrid->SetColWidths(ColRow, 30);
    StringGrid->SetColWidths(ColName, 320);
    StringGrid->SetColWidths(ColStatus, 77);
    StringGrid->SetColWidths(ColGrade, 64);

    BitBtn_OK->hide();
    BitBtn_Cancel->hide();
}

void TForm_SelectTest::PrepareForGradeBook()
{
    StringGrid->SetColCount(3);
    StringGrid->SetColWidths(ColName, 460);
    Panel_Top->hide();
    BitBtn_OK->show();
    BitBtn_Cancel->show();
    BitBtn_Close->hide();
    BitBtn_OK->setDefault(true);
}

void TForm_SelectTest::Edit_TestNameMouseMove(QLineEdit *sender)
{
    TextHintFollows(sender);
}

void TForm_SelectTest::FormShow()
{
    Edit_ClassName->SetText(ParentName);
    StringGrid->SetTitles({QStringLiteral("ID"), QStringLiteral("Row"), QStringLiteral("Test Name"),
                           QStringLiteral("Status"), QStringLiteral("Grade")});
    StringGrid->ClearRows();
    QList<QStringList> rows;
    bool ok = false;
    const int classID = ParentKey.trimmed().toInt(&ok);
    // Without a class key there is nothing to list; it never goes into the statement.
    if (ok) {
        try {
            RequireQuery(Query);
            Query->Clear();
            Query->Add(QStringLiteral("SELECT * FROM classmaster, testmaster, classtest"));
            Query->Add(QStringLiteral("WHERE classmaster.ID=classtest.CLASSID"));
            Query->Add(QStringLiteral("AND testmaster.ID=classtest.TESTID"));
            Query->Add(QStringLiteral("AND classtest.CLASSID=") + QString::number(classID));
            Query->Add(QStringLiteral("ORDER BY testmaster.NAME"));
            Query->Open();
            for (; !Query->Eof(); Query->Next())
                rows << QStringList{Query->FieldByName(QStringLiteral("testmaster.ID")).AsString(), QString(),
                                    Query->FieldByName(QStringLiteral("testmaster.NAME")).AsString()};
            Query->Close();
        } catch (const Exception &e) {
            if (Query)
                Query->Close();
            ShowMessage(e.Message());
        }
    }
    {
        const QSignalBlocker blocker(StringGrid);
        for (int i = 0; i < rows.size(); ++i) {
            const int row = i == 0 ? 1 : StringGrid->AppendRow();
            StringGrid->SetRowCells(row, rows.at(i));
        }
    }
    NumberRows(StringGrid, ColRow);
    StringGrid->SetRow(1);
    StringGridClick();
}

void TForm_SelectTest::StringGridClick()
{
    Edit_TestName->SetText(StringGrid->Cells(ColName, StringGrid->Row()));
}

void TForm_SelectTest::StringGridDblClick()
{
    done(QDialog::Accepted);
}

void TForm_SelectTest::FormClose()
{
    if (Cancelled)
        return;
    ResultName = StringGrid->Cells(ColName, StringGrid->Row());
    ResultID = StringGrid->Cells(ColID, StringGrid->Row());
    if (ResultID.trimmed().isEmpty())
        Cancelled = true;
}

} // namespace Corvella
