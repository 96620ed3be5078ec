#include "testing/SelectClass.h"

#include "database/Database.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/QuestionControls.h"
#include "toolkit/ModalResult.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <optional>

namespace Tamberlin {

TForm_SelectClass::TForm_SelectClass(TDbQuery *query, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Query(query)
{
    setObjectName(QStringLiteral("Form_SelectClass"));
    setWindowTitle(QStringLiteral("Select Class "));
    setFixedSize(472, 293);

    Panel_Top = new QWidget(this);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    NvLabel_Classes = new QLabel(QStringLiteral("Classes:"), Panel_Top);
    NvLabel_Classes->setObjectName(QStringLiteral("NvLabel_Classes"));
    auto topLayout = new QHBoxLayout(Panel_Top);
    topLayout->setContentsMargins(8, 6, 8, 2);
    topLayout->addWidget(NvLabel_Classes);

    QAListbox_Classes = new TQAListbox(this, this);
    QAListbox_Classes->setObjectName(QStringLiteral("QAListbox_Classes"));
    QAListbox_Classes->SetSorted(true);
    QAListbox_Classes->SetShowHint(true);
    QAListbox_Classes->setMouseTracking(true);
    QAListbox_Classes->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QAListbox_Classes->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    NvLabel_Classes->setBuddy(QAListbox_Classes);
    // A double click anywhere in the list counts, also below its last item.
    QAListbox_Classes->viewport()->installEventFilter(this);

    Panel_Bottom = new QWidget(this);
    Panel_Bottom->setObjectName(QStringLiteral("Panel_Bottom"));
    Button_OK = new QPushButton(QStringLiteral("OK"), Panel_Bottom);
    Button_OK->setObjectName(QStringLiteral("Button_OK"));
    Button_OK->setDefault(true);
    Button_OK->setEnabled(false);
    Button_Cancel = new QPushButton(QStringLiteral("Cancel"), Panel_Bottom);
    Button_Cancel->setObjectName(QStringLiteral("Button_Cancel"));
    Button_Cancel->setAutoDefault(false);
    auto bottomLayout = new QHBoxLayout(Panel_Bottom);
    bottomLayout->setContentsMargins(8, 6, 8, 8);
    bottomLayout->addStretch();
    bottomLayout->addWidget(Button_OK);
    bottomLayout->addWidget(Button_Cancel);

    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel_Top);
    auto middle = new QVBoxLayout;
    middle->setContentsMargins(8, 2, 8, 0);
    middle->addWidget(QAListbox_Classes);
    layout->addLayout(middle, 1);
    layout->addWidget(Panel_Bottom);

    connect(QAListbox_Classes, &QListWidget::itemSelectionChanged, this, &TForm_SelectClass::QAListbox_ClassesClick);
    connect(QAListbox_Classes, &QListWidget::itemEntered, this, &TForm_SelectClass::QAListbox_ClassesMouseMove);
    connect(Button_OK, &QPushButton::clicked, this, &TForm_SelectClass::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &TForm_SelectClass::Button_CancelClick);
}

bool TForm_SelectClass::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QAListbox_Classes->viewport() && event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
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
    if (!item || item->text() == QAListbox_Classes->Hint())
        return;
    QAListbox_Classes->SetHint(item->text());
    QToolTip::showText(QCursor::pos(), item->text(), QAListbox_Classes);
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
    const QFontMetrics metrics(QAListbox_Classes->font());
    const int margin = metrics.horizontalAdvance(QLatin1Char('x'));
    quint16 widest = 0;
    for (int i = 0; i < QAListbox_Classes->count(); ++i) {
        QListWidgetItem *item = QAListbox_Classes->item(i);
        const int width = metrics.size(Qt::TextExpandTabs, item->text()).width() + margin;
        if (width > widest)
            widest = static_cast<quint16>(std::min(width, int(std::numeric_limits<quint16>::max())));
    }
    // The view's scroll range follows its items' widths.
    for (int i = 0; i < QAListbox_Classes->count(); ++i) {
        QListWidgetItem *item = QAListbox_Classes->item(i);
        item->setSizeHint(QSize(widest, QAListbox_Classes->sizeHintForRow(i)));
    }
    return widest;
}

} // namespace Tamberlin
