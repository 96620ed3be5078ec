#include "authoring/SelectClass.h"

#include "question/QuestionControls.h"
#include "toolkit/ListHints.h"
#include "toolkit/ListWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QToolTip>

namespace Corvella {

TForm_SelectClass::TForm_SelectClass(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form_SelectClass"));
    setWindowTitle(QStringLiteral("Select Class"));
    setFixedSize(472, 293);

    Panel_Top = new QWidget(this);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    Panel_Top->setFixedHeight(27);
    NvLabel_Classes = new QLabel(QStringLiteral("Classes:"), Panel_Top);
    NvLabel_Classes->setObjectName(QStringLiteral("NvLabel_Classes"));
    auto topLayout = new QHBoxLayout(Panel_Top);
    topLayout->setContentsMargins(8, 2, 8, 2);
    topLayout->addWidget(NvLabel_Classes);
    topLayout->addStretch();

    QAListbox_Classes = new TQAListbox(this, this);
    QAListbox_Classes->setObjectName(QStringLiteral("QAListbox_Classes"));
    SetUpHintList(QAListbox_Classes);
    NvLabel_Classes->setBuddy(QAListbox_Classes);
    // A double click anywhere in the list counts, also below its last item.
    QAListbox_Classes->viewport()->installEventFilter(this);

    Panel_Bottom = OkCancelPanel(this, &Button_OK, &Button_Cancel, QMargins(8, 4, 8, 6), 36);
    StackListPanels(this, Panel_Top, QAListbox_Classes, Panel_Bottom, QMargins(8, 0, 8, 0));

    connect(QAListbox_Classes, &QListWidget::itemSelectionChanged, this, &TForm_SelectClass::QAListbox_ClassesClick);
    connect(QAListbox_Classes, &QListWidget::itemEntered, this, &TForm_SelectClass::QAListbox_ClassesMouseMove);
    connect(Button_OK, &QPushButton::clicked, this, &TForm_SelectClass::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &TForm_SelectClass::Button_CancelClick);
}

bool TForm_SelectClass::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QAListbox_Classes->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Button_OKClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_SelectClass::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
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
    QAListbox_Classes->setFocus();
    FitListExtent(QAListbox_Classes);
    if (QAListbox_Classes->count() > 0)
        QAListbox_Classes->SetItemIndex(0);
    QAListbox_ClassesClick();
}

void TForm_SelectClass::QAListbox_ClassesClick()
{
    Button_OK->setEnabled(QAListbox_Classes->ItemIndex() >= 0);
}

void TForm_SelectClass::QAListbox_ClassesMouseMove(QListWidgetItem *item)
{
    ShowItemHint(QAListbox_Classes, item);
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

void TForm_SelectClass::Button_CancelClick()
{
    Cancelled = true;
    done(QDialog::Rejected);
}

void TForm_SelectClass::reject()
{
    Button_CancelClick();
}

void TForm_SelectClass::FormClose()
{
    QToolTip::hideText();
}

void TForm_SelectClass::done(int result)
{
    FormClose();
    QDialog::done(result);
}

} // namespace Corvella
