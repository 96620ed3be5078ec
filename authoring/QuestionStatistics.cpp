#include "authoring/QuestionStatistics.h"

#include "authoring/RecordWindow.h"
#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "printing/ItemStatisticsReport.h"
#include "toolkit/Exception.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace RecordWindow;

namespace {

const QString AllClasses = QStringLiteral("(All classes)");

// The facility column: a bar as long as the share right, the figure over it.
class TFacilityBarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QVariant share = index.data(Qt::UserRole);
        if (share.isValid()) {
            QRect bar = option.rect.adjusted(3, 4, -3, -4);
            bar.setWidth(qRound(bar.width() * qBound(0.0, share.toDouble(), 100.0) / 100.0));
            painter->fillRect(bar, option.palette.color(QPalette::Highlight).lighter(150));
        }
        QStyledItemDelegate::paint(painter, option, index);
    }
};

QTableWidgetItem *Cell(const QString &text, Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter)
{
    auto item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

TForm_QuestionStatistics::TForm_QuestionStatistics(TDbQuery *query, QWidget *parent) : QDialog(parent), Query(query)
{
    setObjectName(QStringLiteral("Form_QuestionStatistics"));
    setWindowTitle(QStringLiteral("Question Statistics"));
    setAccessibleName(QStringLiteral("Question Statistics"));
    resize(640, 420);

    NvComboBox_Test = new TNvComboBox(this);
    NvComboBox_Test->setObjectName(QStringLiteral("NvComboBox_Test"));
    NvComboBox_Test->setEditable(false);
    NvComboBox_Test->setAccessibleName(QStringLiteral("Test"));
    KeepComboNarrow(NvComboBox_Test);
    NvComboBox_Class = new TNvComboBox(this);
    NvComboBox_Class->setObjectName(QStringLiteral("NvComboBox_Class"));
    NvComboBox_Class->setEditable(false);
    NvComboBox_Class->setAccessibleName(QStringLiteral("Class"));
    KeepComboNarrow(NvComboBox_Class);
    auto testLabel = new QLabel(QStringLiteral("&Test:"), this);
    testLabel->setBuddy(NvComboBox_Test);
    auto classLabel = new QLabel(QStringLiteral("C&lass:"), this);
    classLabel->setBuddy(NvComboBox_Class);
    Label_Summary = new QLabel(this);
    Label_Summary->setObjectName(QStringLiteral("Label_Summary"));
    Label_Summary->setWordWrap(true);

    Grid_Statistics = new QTableWidget(0, ColCount, this);
    Grid_Statistics->setObjectName(QStringLiteral("Grid_Statistics"));
    Grid_Statistics->setAccessibleName(QStringLiteral("Question statistics"));
    Grid_Statistics->setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("Question"),
                                                QStringLiteral("Answered"), QStringLiteral("Right"),
                                                QStringLiteral("Facility (%)"), QStringLiteral("Discrimination")});
    Grid_Statistics->verticalHeader()->hide();
    Grid_Statistics->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid_Statistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_Statistics->setWordWrap(false);
    Grid_Statistics->setItemDelegateForColumn(ColFacility, new TFacilityBarDelegate(Grid_Statistics));
    Grid_Statistics->horizontalHeader()->setSectionResizeMode(ColQuestion, QHeaderView::Stretch);
    Grid_Statistics->setColumnWidth(ColNumber, 40);
    Grid_Statistics->setColumnWidth(ColFacility, 130);

    BitBtn_Preview = BottomButton(this, QStringLiteral("BitBtn_Preview"), QStringLiteral("Pre&view..."));
    BitBtn_Preview->setAccessibleName(QStringLiteral("Print preview of the statistics"));
    BitBtn_Export = BottomButton(this, QStringLiteral("BitBtn_Export"), QStringLiteral("&Export..."));
    BitBtn_Export->setAccessibleName(QStringLiteral("Export the statistics as CSV"));
    BitBtn_Close = BottomButton(this, QStringLiteral("BitBtn_Close"), QStringLiteral("&Close"));
    BitBtn_Close->setAccessibleName(QStringLiteral("Close"));

    auto fields = new QGridLayout;
    fields->addWidget(testLabel, 0, 0);
    fields->addWidget(NvComboBox_Test, 0, 1);
    fields->addWidget(classLabel, 1, 0);
    fields->addWidget(NvComboBox_Class, 1, 1);
    fields->setColumnStretch(1, 1);
    auto buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn_Preview);
    buttons->addWidget(BitBtn_Export);
    buttons->addWidget(BitBtn_Close);
    auto layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Label_Summary);
    layout->addWidget(Grid_Statistics, 1);
    layout->addLayout(buttons);

    setTabOrder(NvComboBox_Test, NvComboBox_Class);
    setTabOrder(NvComboBox_Class, Grid_Statistics);
    setTabOrder(Grid_Statistics, BitBtn_Preview);
    setTabOrder(BitBtn_Preview, BitBtn_Export);
    setTabOrder(BitBtn_Export, BitBtn_Close);

    connect(NvComboBox_Test, &QComboBox::currentIndexChanged, this, [this] {
        if (!FFilling)
            NvComboBox_TestChange();
    });
    connect(NvComboBox_Class, &QComboBox::currentIndexChanged, this, [this] {
        if (!FFilling)
            NvComboBox_ClassChange();
    });
    connect(BitBtn_Preview, &QPushButton::clicked, this, &TForm_QuestionStatistics::BitBtn_PreviewClick);
    connect(BitBtn_Export, &QPushButton::clicked, this, &TForm_QuestionStatistics::BitBtn_ExportClick);
    connect(BitBtn_Close, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm_QuestionStatistics::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm_QuestionStatistics::FormShow()
{
    FFilling = true;
    NvComboBox_Test->Clear();
    try {
        RequireQuery(Query);
        Query->Close();
        Query->Clear();
        Query->Add(QStringLiteral("SELECT ID, NAME FROM testmaster ORDER BY NAME, ID"));
        Query->Open();
        for (; !Query->Eof(); Query->Next())
            NvComboBox_Test->Add(Query->FieldByName(QStringLiteral("NAME")).AsString(),
                                 Query->FieldByName(QStringLiteral("ID")).AsString());
        Query->Close();
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
    }
    const int index = int(NvComboBox_Test->Codes().indexOf(WholeNumber(TestKey)));
    NvComboBox_Test->SetItemIndex(index >= 0 ? index : (NvComboBox_Test->Count() > 0 ? 0 : -1));
    FFilling = false;
    LoadClasses();
    FFilling = true;
    const int classIndex = ClassKey.isEmpty() ? 0 : int(NvComboBox_Class->Codes().indexOf(WholeNumber(ClassKey)));
    NvComboBox_Class->SetItemIndex(classIndex >= 0 ? classIndex : 0);
    FFilling = false;
    Recalculate();
    NvComboBox_Test->setFocus();
}

void TForm_QuestionStatistics::LoadClasses()
{
    FFilling = true;
    NvComboBox_Class->Clear();
    NvComboBox_Class->Add(AllClasses, QString());
    const QString testKey = WholeNumber(NvComboBox_Test->SelectedCode());
    if (!testKey.isEmpty()) {
        try {
            RequireQuery(Query);
            for (const TGradePair &pair : ReadGradePairs(*Query, {}, {testKey}))
                NvComboBox_Class->Add(pair.ClassName, pair.ClassKey);
        } catch (const Exception &e) {
            if (Query)
                Query->Close();
            SaveMsgDialog(e.Message(), MsgError, BtnOK);
        }
    }
    NvComboBox_Class->SetItemIndex(0);
    FFilling = false;
}

void TForm_QuestionStatistics::NvComboBox_TestChange()
{
    LoadClasses();
    Recalculate();
}

void TForm_QuestionStatistics::NvComboBox_ClassChange()
{
    Recalculate();
}

void TForm_QuestionStatistics::Recalculate()
{
    Statistics = TItemStatistics();
    const QString testKey = WholeNumber(NvComboBox_Test->SelectedCode());
    QString error;
    if (testKey.isEmpty()) {
        error = QStringLiteral("There is no test to show.");
    } else {
        try {
            RequireQuery(Query);
            Statistics = ReadItemStatistics(*Query, testKey, WholeNumber(NvComboBox_Class->SelectedCode()));
        } catch (const Exception &e) {
            if (Query)
                Query->Close();
            Statistics = TItemStatistics();
            error = e.Message();
        }
    }
    ShowStatistics();
    if (!error.isEmpty())
        Label_Summary->setText(error);
}

void TForm_QuestionStatistics::ShowStatistics()
{
    Label_Summary->setText(Statistics.Summary());
    const bool shown = !Statistics.NobodyTook();
    const QList<QStringList> rows = Statistics.CsvRows();
    Grid_Statistics->setRowCount(shown ? int(Statistics.Items.size()) : 0);
    for (int r = 0; shown && r < Statistics.Items.size(); ++r) {
        const QStringList &row = rows.at(r + 1);
        Grid_Statistics->setItem(r, ColNumber, Cell(row.at(0)));
        auto question = Cell(Statistics.Items.at(r).Question.simplified(), Qt::AlignLeft | Qt::AlignVCenter);
        question->setToolTip(Statistics.Items.at(r).Question);
        Grid_Statistics->setItem(r, ColQuestion, question);
        Grid_Statistics->setItem(r, ColAnswered, Cell(row.at(2)));
        Grid_Statistics->setItem(r, ColRight, Cell(row.at(3)));
        auto facility = Cell(row.at(4));
        if (Statistics.Items.at(r).Answered > 0)
            facility->setData(Qt::UserRole, Statistics.Items.at(r).Facility);
        Grid_Statistics->setItem(r, ColFacility, facility);
        Grid_Statistics->setItem(r, ColDiscrimination, Cell(row.at(5)));
    }
    BitBtn_Preview->setEnabled(!Statistics.TestName.isEmpty());
    BitBtn_Export->setEnabled(shown);
}

void TForm_QuestionStatistics::BitBtn_PreviewClick()
{
    TItemStatisticsReport report;
    report.Statistics = Statistics;
    report.Preview(this);
}

void TForm_QuestionStatistics::BitBtn_ExportClick()
{
    if (Statistics.NobodyTook())
        return;
    QString name = Statistics.TestName;
    if (!Statistics.ClassName.isEmpty())
        name += QStringLiteral(" - ") + Statistics.ClassName;
    QString path = SaveFileDialog(this, QStringLiteral("Export Question Statistics"),
                                  SafeFileName(name + QStringLiteral(" statistics")) + QStringLiteral(".csv"),
                                  QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!WriteCsvFile(path, Statistics.CsvRows(), &error)) {
        SaveMsgDialog(error, MsgError, BtnOK);
        return;
    }
    SaveMsgDialog(
        QStringLiteral("The statistics of %1 questions were exported to %2.").arg(Statistics.Items.size()).arg(path),
        MsgInformation, BtnOK);
}
