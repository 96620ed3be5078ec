#include "testing/SelectClass.h"

#include "database/Database.h"
#include "dialogs/FontGrowth.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/QuestionControls.h"
#include "toolkit/ListHints.h"
#include "toolkit/ListWindow.h"
#include "toolkit/ModalResult.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <optional>

namespace Tamberlin {

const QString TForm_SelectClass::NoClassesMessage =
    QStringLiteral("You are not in any class yet. Ask your teacher to put you into a class.");

TForm_SelectClass::TForm_SelectClass(TDbQuery *query, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Query(query)
{
    setObjectName(QStringLiteral("Form_SelectClass"));
    setWindowTitle(QStringLiteral("Select Class "));
    setFixedSize(Grown(this, QSize(472, 293)));

    Panel_Top = new QWidget(this);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    NvLabel_Classes = new QLabel(QStringLiteral("Classes:"), Panel_Top);
    NvLabel_Classes->setObjectName(QStringLiteral("NvLabel_Classes"));
    auto topLayout = new QHBoxLayout(Panel_Top);
    topLayout->setContentsMargins(8, 6, 8, 2);
    topLayout->addWidget(NvLabel_Classes);

    QAListbox_Classes = new TQAListbox(this, this);
    QAListbox_Classes->setObjectName(QStringLiteral("QAListbox_Classes"));
    SetUpHintList(QAListbox_Classes);
    NvLabel_Classes->setBuddy(QAListbox_Classes);
    // The caption stands in another panel, where a screen reader does not look for it.
    QAListbox_Classes->setAccessibleName(QStringLiteral("Classes"));
    // A double click anywhere in the list counts, also below its last item.
    QAListbox_Classes->viewport()->installEventFilter(this);

    Panel_Bottom = OkCancelPanel(this, &Button_OK, &Button_Cancel, QMargins(8, 6, 8, 8));
    QVBoxLayout *panels = StackListPanels(this, Panel_Top, QAListbox_Classes, Panel_Bottom, QMargins(8, 2, 8, 0));
    Label_Empty = new QLabel(NoClassesMessage, this);
    Label_Empty->setObjectName(QStringLiteral("Label_Empty"));
    Label_Empty->setTextFormat(Qt::PlainText);
    Label_Empty->setWordWrap(true);
    Label_Empty->setContentsMargins(8, 4, 8, 0);
    Label_Empty->hide();
    panels->insertWidget(panels->indexOf(Panel_Bottom), Label_Empty);

    connect(QAListbox_Classes, &QListWidget::itemSelectionChanged, this, &TForm_SelectClass::QAListbox_ClassesClick);
    connect(QAListbox_Classes, &QListWidget::itemEntered, this, &TForm_SelectClass::QAListbox_ClassesMouseMove);
    connect(Button_OK, &QPushButton::clicked, this, &TForm_SelectClass::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &TForm_SelectClass::Button_CancelClick);
}

bool TForm_SelectClass::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QAListbox_Classes->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        QAListbox_ClassesDblClick();
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

void TForm_SelectClass::FormShow()
{
    Cancelled = true;
    TStrings *items = QAListbox_Classes->Items();
    items->BeginUpdate();
    items->Clear();
    Classes.clear();
    std::optional<QString> error;
    try {
        if (!Query)
            throw EDatabaseError(QStringLiteral("The window has no statement object to run its statements on."));
        Query->Clear();
        Query->Add(QStringLiteral("SELECT * FROM classmaster, classdetail"));
        Query->Add(QStringLiteral("WHERE ID = CLASSID"));
        Query->Add(QStringLiteral("AND STUDENTID = ") + QuotedStr(StudentID));
        Query->Add(QStringLiteral("ORDER by NAME"));
        Query->Open();
        for (; !Query->Eof(); Query->Next()) {
            TClassDef def;
            def.ID = Query->FieldByName(QStringLiteral("ID")).AsInteger();
            def.Name = Query->FieldByName(QStringLiteral("NAME")).AsString();
            def.Course = Query->FieldByName(QStringLiteral("COURSE")).AsString();
            Classes.insert(items->Add(def.Name), def);
        }
        Query->Close();
    } catch (const Exception &e) {
        if (Query)
            Query->Close();
        error = e.Message();
    }
    items->EndUpdate();
    if (error)
        SaveMsgDialog(*error, MsgError, BtnOK);

    QAListbox_Classes->setFocus();
    FitListWidth();
    if (QAListbox_Classes->count() > 0)
        QAListbox_Classes->SetItemIndex(0);
    // Said only when the classes were read; a failure has had its own message.
    Label_Empty->setVisible(QAListbox_Classes->count() == 0 && !error);
    QAListbox_ClassesClick();
}

void TForm_SelectClass::QAListbox_ClassesClick()
{
    Button_OK->setEnabled(QAListbox_Classes->ItemIndex() >= 0);
}

void TForm_SelectClass::QAListbox_ClassesDblClick()
{
    Button_OKClick();
}

void TForm_SelectClass::QAListbox_ClassesMouseMove(QListWidgetItem *item)
{
    ShowItemHint(QAListbox_Classes, item);
}

void TForm_SelectClass::Button_OKClick()
{
    const int index = QAListbox_Classes->ItemIndex();
    if (index < 0 || index >= Classes.size()) {
        Cancelled = true;
    } else {
        ClassID = QString::number(Classes.at(index).ID);
        ClassName = Classes.at(index).Name;
        Cancelled = false;
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

int TForm_SelectClass::FitListWidth()
{
    return FitListExtent(QAListbox_Classes);
}

} // namespace Tamberlin
