#include "authoring/PrintChoice.h"

#include "authoring/SelectClass.h"
#include "authoring/TestEdit.h"

#include <QCheckBox>

namespace Corvella {

TTestPicker TestForPrintPicker(TDbQuery *query, QWidget *parent)
{
    return [query, parent = QPointer<QWidget>(parent)](const QString &caption, TPrintJob &job) {
        TForm_TestEdit testEdit(query, parent);
        testEdit.SetPicking(true);
        testEdit.setWindowTitle(caption);
        testEdit.WithQuestionsOnly = true;
        testEdit.Panel_Key->show();
        testEdit.exec();
        if (testEdit.Cancelled || testEdit.ResultID.trimmed().isEmpty())
            return false;
        job.TestID = testEdit.ResultID.trimmed();
        job.TestTitle = testEdit.ResultName;
        job.Instructions = testEdit.ResultInstructions;
        job.SubTitle = testEdit.ResultSubtitle;
        job.Columns = testEdit.ResultColumns;
        job.AnswerKey = testEdit.PrintKey;
        return true;
    };
}

TClassPicker ClassForPrintPicker(QWidget *parent)
{
    return [parent = QPointer<QWidget>(parent)](const QList<TPrintClass> &classes) -> std::optional<TPrintClass> {
        TForm_SelectClass selectClass(parent);
        for (const TPrintClass &c : classes)
            selectClass.ClassList.append(TClassObject{c.Name, c.Course, c.Teacher, c.Chapter});
        selectClass.FromList = true;
        selectClass.exec();
        if (selectClass.Cancelled)
            return std::nullopt;
        return TPrintClass{selectClass.ResultID, selectClass.ResultName, selectClass.ResultCourse,
                           selectClass.ResultTeacher, selectClass.ResultChapter};
    };
}

void SetUpTestPrintout(TTestPrintout &printout, TDbQuery *query, QWidget *owner, QWidget *panelControls)
{
    printout.Query = query;
    printout.Owner = owner;
    printout.Panel_Controls = panelControls;
    printout.PickTest = TestForPrintPicker(query, owner);
    printout.PickClass = ClassForPrintPicker(owner);
}

} // namespace Corvella
