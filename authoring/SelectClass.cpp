#include "authoring/SelectClass.h"

#include "question/QuestionControls.h"

namespace Corvella {

TForm_SelectClass::TForm_SelectClass(QWidget *parent)
    : TListPickForm(parent, QStringLiteral("NvLabel_Classes"), QStringLiteral("Classes:"),
                    QStringLiteral("QAListbox_Classes"))
{
    setObjectName(QStringLiteral("Form_SelectClass"));
    setWindowTitle(QStringLiteral("Select Class"));
    NvLabel_Classes = FLabel;
    QAListbox_Classes = FList;
    // The caption stands in another panel, where a screen reader does not look for it.
    QAListbox_Classes->setAccessibleName(QStringLiteral("Classes"));
}

const TClassDef *TForm_SelectClass::ClassDef(int index) const
{
    return index >= 0 && index < FRecords.size() ? &FRecords.at(index) : nullptr;
}

void TForm_SelectClass::FormShow()
{
    if (FromList) {
        TStrings *items = QAListbox_Classes->Items();
        items->BeginUpdate();
        items->Clear();
        FRecords.clear();
        for (const TClassObject &object : std::as_const(ClassList)) {
            TClassDef def;
            def.Name = object.Name;
            def.Course = object.Course;
            def.Teacher = object.Teacher;
            def.Chapter = object.Chapter;
            FRecords.insert(items->Add(def.Name), def);
        }
        items->EndUpdate();
    }
    ShowList(true);
}

void TForm_SelectClass::Button_OKClick()
{
    const TClassDef *def = ClassDef(QAListbox_Classes->ItemIndex());
    Cancelled = def == nullptr;
    if (def) {
        ResultID = QString::number(def->ID);
        ResultName = def->Name;
        ResultCourse = def->Course;
        ResultTeacher = def->Teacher;
        ResultChapter = def->Chapter;
    }
    done(Cancelled ? QDialog::Rejected : QDialog::Accepted);
}

} // namespace Corvella
