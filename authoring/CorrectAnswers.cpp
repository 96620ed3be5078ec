#include "authoring/CorrectAnswers.h"

#include "authoring/Wizard.h"
#include "dialogs/FontGrowth.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace {

constexpr int ClientWidth = 472;
constexpr int ClientHeight = 293;
constexpr int TopHeight = 22;
constexpr int BottomHeight = 36;
constexpr int LabelLeft = 2;
constexpr int LabelTop = 7;

const QString CorrectAnswerRow = QStringLiteral("CorrectAnswer");
const QString CorrectAnswersRow = QStringLiteral("CorrectAnswers");

QPushButton *MakeButton(const QString &name, const QString &caption, QWidget *parent, int left)
{
    auto button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(left, 8, std::max(75, button->sizeHint().width()), 25);
    return button;
}

} // namespace

TForm_CorrectAnswers::TForm_CorrectAnswers(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form_CorrectAnswers"));
    setWindowTitle(QStringLiteral("Correct Answer"));
    setFixedSize(ClientWidth, ClientHeight);

    Panel_Top = new QWidget(this);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    Panel_Top->setGeometry(0, 0, ClientWidth, TopHeight);
    NvLabel_Answers = new QLabel(Panel_Top);
    NvLabel_Answers->setObjectName(QStringLiteral("NvLabel_Answers"));

    QAListbox_Answers = new TQAListbox(this, this);
    SetComponentName(QAListbox_Answers, QStringLiteral("QAListbox_Answers"));
    QAListbox_Answers->SetBounds(0, TopHeight, ClientWidth, ClientHeight - TopHeight - BottomHeight);
    // Several correct answers are picked by clicking each, no modifier keys needed.
    QAListbox_Answers->SetExtendedSelect(false);

    QADateTime_Answer = new TQADateTime(this, this);
    SetComponentName(QADateTime_Answer, QStringLiteral("QADateTime_Answer"));
    QADateTime_Answer->SetDateFormat(dfShort);
    QADateTime_Answer->SetDateMode(dmComboBox);
    QADateTime_Answer->SetBounds(178, 128, 115, QADateTime_Answer->sizeHint().height());
    QADateTime_Answer->SetVisible(false);

    Panel_Bottom = new QWidget(this);
    Panel_Bottom->setObjectName(QStringLiteral("Panel_Bottom"));
    Panel_Bottom->setGeometry(0, ClientHeight - BottomHeight, ClientWidth, BottomHeight);
    Button_OK = MakeButton(QStringLiteral("Button_OK"), QStringLiteral("OK"), Panel_Bottom, 161);
    Button_OK->setDefault(true);
    Button_Cancel = MakeButton(QStringLiteral("Button_Cancel"), QStringLiteral("Cancel"), Panel_Bottom,
                               Button_OK->geometry().right() + 1);

    connect(Button_OK, &QPushButton::clicked, this, &TForm_CorrectAnswers::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &TForm_CorrectAnswers::Button_CancelClick);

    GrowWithFont(this);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm_CorrectAnswers::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_CorrectAnswers::closeEvent(QCloseEvent *event)
{
    if (isVisible()) {
        FormClose();
        done(Cancelled ? QDialog::Rejected : QDialog::Accepted);
    }
    event->accept();
}

void TForm_CorrectAnswers::reject()
{
    Button_CancelClick();
}

void TForm_CorrectAnswers::accept()
{
    Button_OKClick();
}

void TForm_CorrectAnswers::Button_OKClick()
{
    Cancelled = false;
    close();
}

void TForm_CorrectAnswers::Button_CancelClick()
{
    Cancelled = true;
    close();
}

void TForm_CorrectAnswers::FormShow()
{
    FPrepared = false;
    if (PropertyName != CorrectAnswerRow && PropertyName != CorrectAnswersRow)
        return;
    NvLabel_Answers->setText(PropertyName == CorrectAnswerRow ? QStringLiteral("Select Correct Answer:")
                                                              : QStringLiteral("Select Correct Answers"));
    NvLabel_Answers->adjustSize();
    // The caption stands in a strip of its own, where a screen reader does not look for it.
    const QString spoken = NvLabel_Answers->text().remove(QLatin1Char(':'));
    QAListbox_Answers->setAccessibleName(spoken);
    QADateTime_Answer->setAccessibleName(spoken);

    const TQuestionKind kind = QuestionKindOf(Control);
    if (kind == TQuestionKind::Date) {
        const auto *date = qobject_cast<TQADateTime *>(Control);
        NvLabel_Answers->setParent(this);
        NvLabel_Answers->move(QADateTime_Answer->Left(), QADateTime_Answer->Top() - NvLabel_Answers->height() - 3);
        NvLabel_Answers->show();
        QAListbox_Answers->SetVisible(false);
        QADateTime_Answer->SetVisible(true);
        // Open on the present correct date, so closing without a pick keeps it.
        QADateTime_Answer->SetDate(IsValidDate(date->CorrectAnswer()) ? date->DateAnswer() : date->Date());
        QADateTime_Answer->setFocus();
        FPrepared = true;
        return;
    }

    if (NvLabel_Answers->parentWidget() != Panel_Top) {
        NvLabel_Answers->setParent(Panel_Top);
        NvLabel_Answers->show();
    }
    // The label sits low in the strip, as far as the platform's font lets it.
    NvLabel_Answers->move(LabelLeft, std::clamp(Panel_Top->height() - NvLabel_Answers->height(), 0, LabelTop));
    QADateTime_Answer->SetVisible(false);
    QAListbox_Answers->SetVisible(true);

    QStringList correct;
    bool several = false;
    TStrings *items = QAListbox_Answers->Items();
    if (const auto *list = qobject_cast<TQAListbox *>(Control)) {
        several = list->MultiSelect();
        items->Assign(*list->Answers());
        if (several)
            correct = list->CorrectAnswers()->Lines();
        else if (!list->CorrectAnswers()->IsEmpty())
            correct << list->CorrectAnswers()->Strings(0);
    } else if (const auto *combo = qobject_cast<TQACombobox *>(Control)) {
        items->Assign(*combo->Answers());
        correct << combo->CorrectAnswer();
    } else if (const auto *radio = qobject_cast<TQARadioGroup *>(Control)) {
        items->Assign(*radio->Answers());
        correct << radio->CorrectAnswer();
    } else {
        items->Clear();
        return;
    }
    QAListbox_Answers->SetMultiSelect(several);
    QAListbox_Answers->clearSelection();
    for (int i = 0; i < items->Count(); ++i) {
        if (!correct.contains((*items)[i]))
            continue;
        if (!several) {
            QAListbox_Answers->SetItemIndex(i);
            break;
        }
        QAListbox_Answers->SetSelected(i, true);
    }
    QAListbox_Answers->setFocus();
    FPrepared = true;
}

void TForm_CorrectAnswers::FormClose()
{
    if (Cancelled || !FPrepared)
        return;
    const TStrings *items = QAListbox_Answers->Items();
    const int picked = QAListbox_Answers->ItemIndex();
    switch (QuestionKindOf(Control)) {
    case TQuestionKind::Date: {
        auto *date = qobject_cast<TQADateTime *>(Control);
        const QDate day = QADateTime_Answer->PickedDate();
        date->SetCorrectAnswer(DateToStr(day));
        date->SetDateAnswer(DateToDayNumber(day));
        break;
    }
    case TQuestionKind::DropDown:
        if (picked >= 0)
            qobject_cast<TQACombobox *>(Control)->SetCorrectAnswer((*items)[picked]);
        break;
    case TQuestionKind::RadioGroup:
        if (picked >= 0)
            qobject_cast<TQARadioGroup *>(Control)->SetCorrectAnswer((*items)[picked]);
        break;
    case TQuestionKind::ListBox: {
        auto *list = qobject_cast<TQAListbox *>(Control);
        QStringList correct;
        if (list->MultiSelect()) {
            for (int i = 0; i < items->Count(); ++i)
                if (QAListbox_Answers->Selected(i))
                    correct << (*items)[i];
        } else if (picked >= 0) {
            correct << (*items)[picked];
        }
        list->SetCorrectAnswers(correct);
        break;
    }
    default:
        break;
    }
}
