#include "authoring/TestJoin.h"

#include "authoring/MembershipEditor.h"
#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>

#include <limits>

using namespace RecordWindow;

TForm_TestJoin::TForm_TestJoin(TDbQuery *query, QWidget *parent) : TParentRecordsForm(query, parent)
{
    setObjectName(QStringLiteral("Form_TestJoin"));
    setWindowTitle(QStringLiteral("Add Test to Class"));

    auto fields = TopFields(72, QMargins(8, 4, 8, 4), 2);

    Edit_ClassDesc = ReadOnlyEdit(Panel_Top, QStringLiteral("Edit_ClassDesc"));
    NvComboBox_Test = new TNvComboBox(Panel_Top);
    NvComboBox_Test->setObjectName(QStringLiteral("NvComboBox_Test"));
    NvComboBox_Test->setEditable(false);
    KeepComboNarrow(NvComboBox_Test);
    SpinEdit_Chapter = new QSpinBox(Panel_Top);
    SpinEdit_Chapter->setObjectName(QStringLiteral("SpinEdit_Chapter"));
    SpinEdit_Chapter->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SpinEdit_Chapter->setValue(1);
    SpinEdit_Chapter->setFixedWidth(70);

    QWidget *buttonBox = ButtonRow(Panel_Top);
    EditButtons(
        buttonBox,
        {QStringLiteral("Add Test Header"), QStringLiteral("Update Test Header"), QStringLiteral("Delete Test Header")},
        BitBtn_Add, BitBtn_Update, BitBtn_Remove);
    // The hints name test headers; what the buttons do here is said to a screen reader.
    BitBtn_Add->setAccessibleName(QStringLiteral("Assign Test to Class"));
    BitBtn_Update->setAccessibleName(QStringLiteral("Update Test of Class"));
    BitBtn_Remove->setAccessibleName(QStringLiteral("Remove Test from Class"));

    const QList<QPair<QString, QWidget *>> rows{{QStringLiteral("Class Name:"), Edit_ClassDesc},
                                                {QStringLiteral("Test Name:"), NvComboBox_Test},
                                                {QStringLiteral("Chapter:"), SpinEdit_Chapter}};
    for (int i = 0; i < rows.size(); ++i) {
        auto caption = new QLabel(rows.at(i).first, Panel_Top);
        caption->setBuddy(rows.at(i).second);
        fields->addWidget(caption, i, 0);
        if (rows.at(i).second == SpinEdit_Chapter)
            fields->addWidget(SpinEdit_Chapter, i, 1, Qt::AlignLeft);
        else
            fields->addWidget(rows.at(i).second, i, 1);
    }
    fields->addWidget(buttonBox, 0, 2, Qt::AlignRight | Qt::AlignTop);

    StringGrid->SetColCount(4);
    StringGrid->SetFixedCols(2);
    StringGrid->SetColWidths(ColID, -1);
    StringGrid->SetColWidths(ColRow, 30);
    // The title "Chapter" stays readable in fonts wider than the one the widths were made for.
    const int chapterWidth = qMax(45, StringGrid->fontMetrics().horizontalAdvance(QStringLiteral("Chapter")) + 16);
    StringGrid->SetColWidths(ColName, 414 - (chapterWidth - 45));
    StringGrid->SetColWidths(ColChapter, chapterWidth);

    connect(BitBtn_Add, &QPushButton::clicked, this, [this] { BitBtn_AddClick(BitBtn_Add); });
    connect(BitBtn_Update, &QPushButton::clicked, this, [this] { BitBtn_AddClick(BitBtn_Update); });
    connect(BitBtn_Remove, &QPushButton::clicked, this, &TForm_TestJoin::BitBtn_RemoveClick);
}

QString TForm_TestJoin::ChapterText() const
{
    // Decimal digits whatever the locale's way of writing numbers.
    return QString::number(SpinEdit_Chapter->value());
}

void TForm_TestJoin::FormShow()
{
    FClickAttached = false;
    Edit_ClassDesc->SetText(ParentName);
    StringGrid->ClearRows();
    StringGrid->SetTitles(
        {QStringLiteral("ID"), QStringLiteral("Row"), QStringLiteral("Test Name"), QStringLiteral("Chapter")});
    NvComboBox_Test->Clear();

    // Without the test list the assignments are not listed.
    const bool testsRead = LoadUnguarded([this] {
        Query->Clear();
        Query->Add(QStringLiteral("SELECT * FROM testmaster"));
        Query->Open();
        for (; !Query->Eof(); Query->Next())
            NvComboBox_Test->Add(Query->FieldByName(QStringLiteral("NAME")).AsString(),
                                 Query->FieldByName(QStringLiteral("ID")).AsString());
        NvComboBox_Test->SetItemIndex(-1);
    });
    const QString classKey = WholeNumber(ParentKey);
    if (testsRead && !classKey.isEmpty())
        ListRows(
            {QStringLiteral("SELECT * FROM testmaster, classmaster, classtest "),
             QStringLiteral("WHERE testmaster.ID = TESTID"), QStringLiteral("AND classmaster.ID  = CLASSID"),
             QStringLiteral("AND classmaster.ID  = ") + classKey,
             QStringLiteral("ORDER BY classmaster.NAME, testmaster.NAME")},
            [this](QStringList &cells) {
                const int test = NvComboBox_Test->IndexOfCode(Query->FieldByName(QStringLiteral("TESTID")).AsString());
                cells = {Query->FieldByName(QStringLiteral("classtest.ID")).AsString(), QString(),
                         test >= 0 ? NvComboBox_Test->Items(test) : QString(),
                         Query->FieldByName(QStringLiteral("CHAPTER")).AsString()};
                return true;
            },
            false);
    NumberRows(StringGrid, ColRow);
    StringGrid->SetRow(1);
    FClickAttached = true;
    StringGridClick();
}

void TForm_TestJoin::StringGridClick()
{
    if (!FClickAttached)
        return;
    const int row = StringGrid->Row();
    NvComboBox_Test->SelectItem(StringGrid->Cells(ColName, row));
    const QString chapter = WholeNumber(StringGrid->Cells(ColChapter, row));
    SpinEdit_Chapter->setValue(chapter.isEmpty() ? 1 : chapter.toInt());
}

void TForm_TestJoin::StringGridDblClick()
{
    BitBtn_CloseClick();
}

QString TForm_TestJoin::NextID()
{
    return NextKey(QStringLiteral("classtest"));
}

int TForm_TestJoin::InsertRecord()
{
    const QString key = NextID();
    if (key.isEmpty())
        return -1;
    // Without a chosen test the statement lacks its key and the engine refuses it.
    const QString testID = WholeNumber(NvComboBox_Test->SelectedCode());
    if (!Execute({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER)"),
                  QStringLiteral("VALUES(") + key + QStringLiteral(", ") + WholeNumber(ParentKey) +
                      QStringLiteral(", ") + testID + QStringLiteral(", ") + QuotedStr(ChapterText()) +
                      QStringLiteral(")")}))
        return -1;
    return key.toInt();
}

bool TForm_TestJoin::UpdateRecord()
{
    const QString key = WholeNumber(StringGrid->Cells(ColID, StringGrid->Row()));
    if (key.isEmpty())
        return false; // the placeholder holds no stored assignment
    return Execute({QStringLiteral("UPDATE classtest SET"),
                    QStringLiteral("TESTID = ") + WholeNumber(NvComboBox_Test->SelectedCode()) + QStringLiteral(", "),
                    QStringLiteral("CLASSID = ") + WholeNumber(ParentKey) + QStringLiteral(", "),
                    QStringLiteral("CHAPTER = ") + QuotedStr(ChapterText()), QStringLiteral("WHERE ID = ") + key});
}

bool TForm_TestJoin::DeleteRecord()
{
    const QString key = WholeNumber(StringGrid->Cells(ColID, StringGrid->Row()));
    if (key.isEmpty())
        return true;
    return Execute({QStringLiteral("DELETE FROM classtest WHERE ID=") + key});
}

void TForm_TestJoin::BitBtn_AddClick(QAbstractButton *sender)
{
    const bool adding = sender == BitBtn_Add;
    if (!adding && WholeNumber(StringGrid->Cells(ColID, StringGrid->Row())).isEmpty()) {
        ShowMessage(QStringLiteral("This row is not stored yet. Use Add to store it."));
        return;
    }
    if (WholeNumber(NvComboBox_Test->SelectedCode()).isEmpty() || NvComboBox_Test->ItemIndex() < 0) {
        ShowMessage(QStringLiteral("Choose the test to assign in the list \"Test Name\" first. Nothing was stored."));
        return;
    }
    FClickAttached = false;
    QString key;
    if (adding) {
        const int newKey = InsertRecord();
        if (newKey >= 0) {
            if (StringGrid->IsPlaceholder())
                StringGrid->SetRow(1);
            else
                StringGrid->AppendRow();
            key = QString::number(newKey);
        }
    } else if (UpdateRecord()) {
        key = WholeNumber(StringGrid->Cells(ColID, StringGrid->Row()));
    }
    if (!key.isEmpty()) {
        const int row = StringGrid->Row();
        StringGrid->SetCells(ColID, row, key);
        StringGrid->SetCells(ColName, row, NvComboBox_Test->ItemIndex() < 0 ? QString() : NvComboBox_Test->Text());
        StringGrid->SetCells(ColChapter, row, ChapterText());
    }
    FClickAttached = true;
    StringGridClick();
    NumberRows(StringGrid, ColRow);
}

void TForm_TestJoin::BitBtn_RemoveClick()
{
    const int row = StringGrid->Row();
    if (WholeNumber(StringGrid->Cells(ColID, row)).isEmpty()) {
        ShowMessage(QStringLiteral("There is no test assigned to this class to delete: its list is empty."));
        return;
    }
    const QString question = QStringLiteral("Are you sure that you want to delete the \"") +
                             StringGrid->Cells(ColName, row) + QStringLiteral("\" test?");
    if (ConfirmBox(question, BtnYes | BtnNo) == ResultYes && DeleteRecord()) {
        FClickAttached = false;
        StringGrid->RemoveRow(row);
        FClickAttached = true;
    }
    NumberRows(StringGrid, ColRow);
    StringGridClick();
}
