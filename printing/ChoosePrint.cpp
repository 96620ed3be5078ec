#include "printing/ChoosePrint.h"

#include "database/Database.h"
#include "report/Preview.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"
#include "toolkit/StdDialogs.h"

namespace Corvella {

QList<TPrintClass> ReadPrintClasses(TDbQuery &query, const QString &testID)
{
    // Pasted into the statement unquoted, so only a whole number goes in.
    if (!IsValidInteger(testID))
        throw EDatabaseError(QStringLiteral("The test to print is not valid."));
    QList<TPrintClass> classes;
    query.Close();
    query.Clear();
    query.Add(QStringLiteral("SELECT NAME, classmaster.ID, COURSE, TEACHER, CHAPTER"));
    query.Add(QStringLiteral("FROM classmaster, classtest"));
    query.Add(QStringLiteral("WHERE TESTID=") + testID.trimmed());
    query.Add(QStringLiteral("AND classmaster.ID=CLASSID"));
    query.Open();
    for (; !query.Eof(); query.Next())
        classes.append(TPrintClass{query.FieldByName("ID").AsString(), query.FieldByName("NAME").AsString(),
                                   query.FieldByName("COURSE").AsString(), query.FieldByName("TEACHER").AsString(),
                                   query.FieldByName("CHAPTER").AsString()});
    query.Close();
    return classes;
}

void ChooseClassForPrint(TDbQuery &query, const QString &testID, TPrintJob &job, const TClassPicker &pick)
{
    job.ClassName.clear();
    job.Course.clear();
    job.Teacher.clear();
    job.Chapter.clear();
    QList<TPrintClass> classes;
    try {
        classes = ReadPrintClasses(query, testID);
    } catch (const Exception &e) {
        query.Close();
        ShowErrorBox(e.Message());
        return;
    }
    std::optional<TPrintClass> chosen;
    if (classes.size() == 1)
        chosen = classes.first();
    else if (classes.size() > 1 && pick)
        chosen = pick(classes);
    if (!chosen)
        return;
    job.ClassName = chosen->Name;
    job.Course = chosen->Course;
    job.Teacher = chosen->Teacher;
    job.Chapter = chosen->Chapter;
}

TTestPrintout::~TTestPrintout()
{
    Clear();
}

QString TTestPrintout::Caption(TPrintSender sender)
{
    return sender == TPrintSender::PreviewButton ? QStringLiteral("Preview Test") : QStringLiteral("Print Test");
}

bool TTestPrintout::ChooseTestForPrint(TPrintSender sender)
{
    if (sender == TPrintSender::PrintButton || sender == TPrintSender::PreviewButton) {
        if (!PickTest)
            return false;
        TPrintJob chosen = Job;
        if (!PickTest(Caption(sender), chosen))
            return false;
        Job = chosen;
    }
    // Without a chosen test there is nothing to load.
    return IsValidInteger(Job.TestID);
}

void LoadPrintQuestions(TDbQuery &query, const QString &testID, TControlDefList &defs, TQuestionControlList &controls,
                        TReportList &records, QObject *owner, QWidget *parent)
{
    LoadTestQuestions(query, defs, testID);
    try {
        CreateQuestionControls(defs, controls, owner, parent);
    } catch (const Exception &e) {
        // The rebuilding stops at the question it could not read.
        const qsizetype index = controls.size();
        throw Exception(QStringLiteral("Question %1 of the test (ID %2) cannot be printed:\n%3")
                            .arg(index + 1)
                            .arg(defs.value(index).Def.ID)
                            .arg(e.Message()));
    }
    for (const TQuestionEntry &entry : std::as_const(controls))
        if (entry.Control)
            AddReportObj(records, entry.Control);
}

void TTestPrintout::LoadQuestions()
{
    QObject *owner = Owner ? static_cast<QObject *>(Owner.data()) : static_cast<QObject *>(Panel_Controls.data());
    LoadPrintQuestions(*Query, Job.TestID, ControlDefs, QuestionControls, ReportObjs, owner, Panel_Controls);
}

void TTestPrintout::Clear()
{
    for (const TQuestionEntry &entry : std::as_const(QuestionControls))
        delete entry.Control.data();
    QuestionControls.clear();
    ControlDefs.clear();
    ReportObjs.clear();
}

void TTestPrintout::Execute(TPrintSender sender)
{
    const bool again = sender == TPrintSender::None;
    // Printing from an open preview reuses its lists; a new printout waits for it to end.
    if (!Query || (again ? !Busy() : Busy()))
        return;
    if (!ChooseTestForPrint(sender))
        return;

    ++FDepth;
    struct TEnd {
        TTestPrintout &Printout;
        bool Again;
        ~TEnd()
        {
            --Printout.FDepth;
            // The preview that is still open frees the lists when it ends; with it goes
            // the way back from its Print button.
            if (!Again) {
                Printout.Clear();
                TNvPrintPreview::ClearPrintCallback();
            }
        }
    } end{*this, again};

    if (!again) {
        Clear();
        LoadQuestions();
    }
    ChooseClassForPrint(*Query, Job.TestID, Job, PickClass);

    TForm_Report report;
    report.Records = ReportObjs;
    report.Lettering = true;
    report.SetJob(Job);
    if (sender == TPrintSender::PrintButton || again) {
        TNvPrintPreview::ClearPrintCallback();
        report.Print(Owner);
    } else {
        TNvPrintPreview::SetPrintCallback([this](QObject *, QObject *) { Execute(TPrintSender::None); },
                                          Owner ? static_cast<QObject *>(Owner.data()) : nullptr);
        report.Preview(Owner);
    }
}

} // namespace Corvella
