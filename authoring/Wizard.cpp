#include "authoring/Wizard.h"

#include "dialogs/FontGrowth.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/NvComboBox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int ClientWidth = 507;
constexpr int ClientHeight = 373;
constexpr int HeaderHeight = 58;
constexpr int StripHeight = 25; // label strips at the top of the pages
constexpr int BottomStripHeight = 39; // room for the buttons
constexpr int QuestionPanelHeight = 135;
constexpr int InputTop = 110;
constexpr int CorrectLabelTop = 96;
constexpr int ButtonTop = 343;
constexpr int ButtonHeight = 25;

const QString NextCaption = QStringLiteral("&Next");
const QString NextArrowCaption = QStringLiteral("&Next>");
const QString FinishCaption = QStringLiteral("&Finish");
const QString TrueText = QStringLiteral("True");
const QString FalseText = QStringLiteral("False");
const QStringList CharCaseNames{QStringLiteral("ecLowerCase"), QStringLiteral("ecNormal"),
                                QStringLiteral("ecUpperCase")};
const TEditCharCase CharCases[] = {ecLowerCase, ecNormal, ecUpperCase};

QLabel *MakeLabel(const QString &name, const QString &caption, QWidget *parent, int left, int top)
{
    auto label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QWidget *MakePanel(const QString &name, QWidget *parent)
{
    auto panel = new QWidget(parent);
    panel->setObjectName(name);
    return panel;
}

QPushButton *MakeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

template <class T> T *MakeQuestionControl(QObject *owner, const QString &name, QWidget *parent)
{
    auto control = new T(owner, parent);
    SetComponentName(control, name);
    return control;
}

// The header picture: a question mark on a round badge.
QPixmap HeaderPicture(int size, qreal ratio)
{
    QPixmap picture(QSize(size, size) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x5f, 0xb0));
    painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(size * 2 / 3);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
    return picture;
}

} // namespace

TQuestionKind QuestionKindOf(const QObject *control)
{
    if (qobject_cast<const TQAMaskEdit *>(control))
        return TQuestionKind::ShortAnswer;
    if (qobject_cast<const TQACombobox *>(control))
        return TQuestionKind::DropDown;
    if (qobject_cast<const TQARadioGroup *>(control))
        return TQuestionKind::RadioGroup;
    if (qobject_cast<const TQAListbox *>(control))
        return TQuestionKind::ListBox;
    if (qobject_cast<const TQARichEdit *>(control))
        return TQuestionKind::Essay;
    if (qobject_cast<const TQADateTime *>(control))
        return TQuestionKind::Date;
    return TQuestionKind::None;
}

bool IsChoiceKind(TQuestionKind kind)
{
    return kind == TQuestionKind::ListBox || kind == TQuestionKind::DropDown || kind == TQuestionKind::RadioGroup;
}

TForm_Wizard::TForm_Wizard(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form_Wizard"));
    setWindowTitle(QStringLiteral("Set-Up Wizard"));
    setFixedSize(ClientWidth, ClientHeight);

    Panel = MakePanel(QStringLiteral("Panel"), this);
    Panel->setGeometry(0, 0, ClientWidth, HeaderHeight);
    Panel->setAutoFillBackground(true);
    QPalette headerPalette = Panel->palette();
    headerPalette.setColor(QPalette::Window, Qt::white);
    headerPalette.setColor(QPalette::WindowText, Qt::black);
    Panel->setPalette(headerPalette);
    Label_Title = MakeLabel(QStringLiteral("Label_Title"), QStringLiteral("Enter the Question"), Panel, 24, 7);
    QFont titleFont = Label_Title->font();
    titleFont.setBold(true);
    Label_Title->setFont(titleFont);
    Label_Title->resize(340, Label_Title->sizeHint().height());
    Label_SubTitle = MakeLabel(QStringLiteral("Label_SubTitle"), QString(), Panel, 47, 25);
    Label_SubTitle->setTextFormat(Qt::PlainText); // the question as typed
    Label_SubTitle->setWordWrap(true);
    Label_SubTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label_SubTitle->setGeometry(47, 25, 346, HeaderHeight - 26); // two lines of the platform font
    Image = MakeLabel(QStringLiteral("Image"), QString(), Panel, 373, 5);
    Image->setGeometry(373, 5, 129, 45);
    Image->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Image->setPixmap(HeaderPicture(42, devicePixelRatio()));
    auto rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Bevel_Header"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(0, HeaderHeight - 1, ClientWidth, 2);

    PageControl = new QStackedWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setGeometry(0, HeaderHeight + 1, ClientWidth, ClientHeight - HeaderHeight - 1);
    const int inputWidth = 494;

    // The question page.
    TabSheet_Question = MakePanel(QStringLiteral("TabSheet_Question"), PageControl);
    Panel_Question = MakePanel(QStringLiteral("Panel_Question"), TabSheet_Question);
    Panel_Question->setGeometry(0, 0, ClientWidth, QuestionPanelHeight);
    NvLabel_Question =
        MakeLabel(QStringLiteral("NvLabel_Question"), QStringLiteral("Question:"), Panel_Question, 3, CorrectLabelTop);
    QAMaskEdit_Question = MakeQuestionControl<TQAMaskEdit>(this, QStringLiteral("QAMaskEdit_Question"), Panel_Question);
    QAMaskEdit_Question->SetBounds(3, InputTop, inputWidth, QAMaskEdit_Question->sizeHint().height());
    NvLabel_Question->setBuddy(QAMaskEdit_Question);
    PageControl->addWidget(TabSheet_Question);

    // The answers page: a strip with the label, the memo, room for the buttons.
    TabSheet_Answers = MakePanel(QStringLiteral("TabSheet_Answers"), PageControl);
    auto answersStrip = MakePanel(QStringLiteral("Panel_AnswersTop"), TabSheet_Answers);
    answersStrip->setFixedHeight(StripHeight);
    NvLabel_Answers = MakeLabel(QStringLiteral("NvLabel_Answers"), QStringLiteral("Answers:"), answersStrip, 3, 7);
    QARichEdit_Answers = MakeQuestionControl<TQARichEdit>(this, QStringLiteral("QARichEdit_Answers"), TabSheet_Answers);
    QARichEdit_Answers->SetScrollBars(ssBoth);
    QARichEdit_Answers->SetWordWrap(false);
    QARichEdit_Answers->PlainText = true;
    NvLabel_Answers->setBuddy(QARichEdit_Answers);
    // The captions stand in strips of their own, where a screen reader does not look for them.
    QARichEdit_Answers->setAccessibleName(QStringLiteral("Answers"));
    auto answersBottom = MakePanel(QStringLiteral("Panel_AnswersBottom"), TabSheet_Answers);
    answersBottom->setFixedHeight(BottomStripHeight);
    auto answersLayout = new QVBoxLayout(TabSheet_Answers);
    answersLayout->setContentsMargins(3, 0, ClientWidth - 3 - inputWidth, 0);
    answersLayout->setSpacing(0);
    answersLayout->addWidget(answersStrip);
    answersLayout->addWidget(QARichEdit_Answers, 1);
    answersLayout->addWidget(answersBottom);
    PageControl->addWidget(TabSheet_Answers);

    // The correct-answer page: a strip with the label, the details and the written
    // kinds' inputs; below it the list of the choice kinds.
    TabSheet_CorrectAnswers = MakePanel(QStringLiteral("TabSheet_CorrectAnswers"), PageControl);
    Panel_CorrectTop = MakePanel(QStringLiteral("Panel_CorrectTop"), TabSheet_CorrectAnswers);
    NvLabel_Correct =
        MakeLabel(QStringLiteral("NvLabel_Correct"), QStringLiteral("Correct Answer:"), Panel_CorrectTop, 3, 7);
    NvLabel_Details = MakeLabel(QStringLiteral("NvLabel_Details"), QString(), Panel_CorrectTop, 330, 7);
    NvLabel_Details->hide();
    NvComboBox_Details = new TNvComboBox(Panel_CorrectTop);
    NvComboBox_Details->setObjectName(QStringLiteral("NvComboBox_Details"));
    NvComboBox_Details->setEditable(false);
    NvComboBox_Details->setGeometry(392, 2, 105, std::min(StripHeight - 2, NvComboBox_Details->sizeHint().height()));
    NvComboBox_Details->hide();
    NvLabel_Details->setBuddy(NvComboBox_Details);
    QAMaskEdit_Correct = MakeQuestionControl<TQAMaskEdit>(this, QStringLiteral("QAMaskEdit_Correct"), Panel_CorrectTop);
    QAMaskEdit_Correct->SetBounds(2, InputTop, inputWidth, QAMaskEdit_Correct->sizeHint().height());
    QAMaskEdit_Correct->SetVisible(false);
    QARichEdit_Correct = MakeQuestionControl<TQARichEdit>(this, QStringLiteral("QARichEdit_Correct"), Panel_CorrectTop);
    QARichEdit_Correct->SetScrollBars(ssVertical);
    QARichEdit_Correct->SetVisible(false);
    QADateTime_Correct = MakeQuestionControl<TQADateTime>(this, QStringLiteral("QADateTime_Correct"), Panel_CorrectTop);
    QADateTime_Correct->SetDateFormat(dfShort);
    QADateTime_Correct->SetBounds(185, InputTop, 129, QADateTime_Correct->sizeHint().height());
    QADateTime_Correct->SetVisible(false);
    QAListbox_Correct =
        MakeQuestionControl<TQAListbox>(this, QStringLiteral("QAListbox_Correct"), TabSheet_CorrectAnswers);
    // Several correct answers are picked by clicking each, no modifier keys needed.
    QAListbox_Correct->SetExtendedSelect(false);
    for (QWidget *input : std::initializer_list<QWidget *>{QAMaskEdit_Correct, QARichEdit_Correct, QADateTime_Correct,
                                                           QAListbox_Correct})
        input->setAccessibleName(QStringLiteral("Correct Answer"));
    auto correctBottom = MakePanel(QStringLiteral("Panel_CorrectBottom"), TabSheet_CorrectAnswers);
    correctBottom->setFixedHeight(BottomStripHeight);
    // The strip spans the page, since its controls are placed in page coordinates.
    auto correctLayout = new QVBoxLayout(TabSheet_CorrectAnswers);
    correctLayout->setContentsMargins(0, 0, 0, 0);
    correctLayout->setSpacing(0);
    correctLayout->addWidget(Panel_CorrectTop);
    auto listLayout = new QHBoxLayout;
    listLayout->setContentsMargins(3, 0, ClientWidth - 3 - inputWidth, 0);
    listLayout->addWidget(QAListbox_Correct);
    correctLayout->addLayout(listLayout, 1);
    correctLayout->addWidget(correctBottom);
    SetPanelCorrectTopHeight(StripHeight);
    PageControl->addWidget(TabSheet_CorrectAnswers);

    BitBtn_Previous = MakeButton(QStringLiteral("BitBtn_Previous"), QStringLiteral("< &Previous"), this);
    BitBtn_Previous->setEnabled(false);
    BitBtn_Next = MakeButton(QStringLiteral("BitBtn_Next"), QStringLiteral("&Next >"), this);
    BitBtn_Next->setDefault(true);
    BitBtn_Cancel = MakeButton(QStringLiteral("BitBtn_Cancel"), QStringLiteral("&Cancel"), this);
    PlaceButtons();

    setTabOrder(QAMaskEdit_Question, QARichEdit_Answers);
    setTabOrder(QARichEdit_Answers, NvComboBox_Details);
    setTabOrder(NvComboBox_Details, QAMaskEdit_Correct);
    setTabOrder(QAMaskEdit_Correct, QARichEdit_Correct);
    setTabOrder(QARichEdit_Correct, QADateTime_Correct);
    setTabOrder(QADateTime_Correct, QAListbox_Correct);
    setTabOrder(QAListbox_Correct, BitBtn_Previous);
    setTabOrder(BitBtn_Previous, BitBtn_Next);
    setTabOrder(BitBtn_Next, BitBtn_Cancel);

    connect(BitBtn_Previous, &QPushButton::clicked, this, &TForm_Wizard::BitBtn_PreviousClick);
    connect(BitBtn_Next, &QPushButton::clicked, this, &TForm_Wizard::BitBtn_NextClick);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &TForm_Wizard::BitBtn_CancelClick);
    connect(NvComboBox_Details, &QComboBox::activated, this, &TForm_Wizard::NvComboBox_DetailsChange);
    connect(QAMaskEdit_Question, &TMaskEdit::Change, this, &TForm_Wizard::QAMaskEdit_QuestionChange);

    GrowWithFont(this);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm_Wizard::PlaceButtons()
{
    // The classic 60-pixel buttons, wider where the platform's font needs it; the row
    // keeps its right edge.
    int width = 60;
    for (const QPushButton *button : {BitBtn_Previous, BitBtn_Next, BitBtn_Cancel}) {
        QPushButton probe(button->text());
        probe.setFont(button->font());
        width = std::max({width, probe.sizeHint().width(), button->sizeHint().width()});
        probe.setText(FinishCaption);
        width = std::max(width, probe.sizeHint().width());
    }
    const int cancelLeft = 438 + 60 - width;
    const int nextLeft = cancelLeft - 32 - width;
    BitBtn_Cancel->setGeometry(cancelLeft, ButtonTop, width, ButtonHeight);
    BitBtn_Next->setGeometry(nextLeft, ButtonTop, width, ButtonHeight);
    BitBtn_Previous->setGeometry(nextLeft - 1 - width, ButtonTop, width, ButtonHeight);
    for (QPushButton *button : {BitBtn_Previous, BitBtn_Next, BitBtn_Cancel})
        button->raise();
}

void TForm_Wizard::SetPanelCorrectTopHeight(int height)
{
    auto layout = static_cast<QVBoxLayout *>(TabSheet_CorrectAnswers->layout());
    if (height > 0) {
        Panel_CorrectTop->setFixedHeight(height);
    } else {
        Panel_CorrectTop->setMinimumHeight(0);
        Panel_CorrectTop->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    // Either the strip or the list below it takes the rest of the page.
    layout->setStretch(0, height > 0 ? 0 : 1);
    layout->setStretch(1, height > 0 ? 1 : 0);
}

void TForm_Wizard::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_Wizard::closeEvent(QCloseEvent *event)
{
    if (isVisible()) {
        FormClose();
        done(Cancelled ? QDialog::Rejected : QDialog::Accepted);
    }
    event->accept();
}

void TForm_Wizard::reject()
{
    BitBtn_CancelClick();
}

void TForm_Wizard::accept()
{
    close();
}

void TForm_Wizard::FormShow()
{
    Cancelled = true;
    PageControl->setCurrentWidget(TabSheet_Question);
    const TQuestionKind kind = Kind();
    NvLabel_Details->setVisible(kind == TQuestionKind::ListBox || kind == TQuestionKind::ShortAnswer);
    NvComboBox_Details->setVisible(NvLabel_Details->isVisibleTo(Panel_CorrectTop));

    if (auto *list = qobject_cast<TQAListbox *>(Control))
        QAListbox_Correct->SetMultiSelect(list->MultiSelect());
    if (auto *edit = qobject_cast<TQAMaskEdit *>(Control))
        QAMaskEdit_Correct->SetCharCase(edit->CharCase());

    if (const auto *question = dynamic_cast<const TQuestionControl *>(Control))
        QAMaskEdit_Question->SetText(question->Question());
    switch (kind) {
    case TQuestionKind::ShortAnswer:
        QAMaskEdit_Correct->SetText(qobject_cast<TQAMaskEdit *>(Control)->CorrectAnswer());
        break;
    case TQuestionKind::Essay:
        QARichEdit_Correct->SetText(qobject_cast<TQARichEdit *>(Control)->CorrectAnswer());
        break;
    case TQuestionKind::Date: {
        const auto *date = qobject_cast<TQADateTime *>(Control);
        if (IsValidDate(date->CorrectAnswer()))
            QADateTime_Correct->SetDate(date->DateAnswer());
        else
            QADateTime_Correct->SetDate(DateToDayNumber(QDate::currentDate()));
        break;
    }
    case TQuestionKind::ListBox: {
        const auto *list = qobject_cast<TQAListbox *>(Control);
        QARichEdit_Answers->Lines()->Assign(*list->Answers());
        QAListbox_Correct->Items()->Assign(*list->Answers());
        break;
    }
    case TQuestionKind::DropDown:
        QARichEdit_Answers->Lines()->Assign(*qobject_cast<TQACombobox *>(Control)->Answers());
        break;
    case TQuestionKind::RadioGroup:
        QARichEdit_Answers->Lines()->Assign(*qobject_cast<TQARadioGroup *>(Control)->Answers());
        break;
    case TQuestionKind::None:
        break;
    }
    QAMaskEdit_Question->setFocus();
}

void TForm_Wizard::QAMaskEdit_QuestionChange()
{
    Label_SubTitle->setText(QAMaskEdit_Question->Text());
}

void TForm_Wizard::PageControlChange()
{
    const QWidget *page = PageControl->currentWidget();
    if (page == TabSheet_Question)
        Label_Title->setText(QStringLiteral("Enter the question"));
    else if (page == TabSheet_Answers)
        Label_Title->setText(QStringLiteral("Enter a List of Possible Answers"));
    else
        Label_Title->setText(QStringLiteral("Enter or Select the Correct Answer"));
}

void TForm_Wizard::ShowDetails()
{
    const TQuestionKind kind = Kind();
    const bool shown = kind == TQuestionKind::ListBox || kind == TQuestionKind::ShortAnswer;
    NvLabel_Details->setVisible(shown);
    NvComboBox_Details->setVisible(shown);
    if (!shown)
        return;
    NvComboBox_Details->Clear();
    int left = 0;
    if (const auto *list = qobject_cast<TQAListbox *>(Control)) {
        NvLabel_Details->setText(QStringLiteral("MultiSelect:"));
        left = 330;
        NvComboBox_Details->Add(TrueText);
        NvComboBox_Details->Add(FalseText);
        NvComboBox_Details->SetItemIndex(list->MultiSelect() ? 0 : 1);
    } else {
        const auto *edit = qobject_cast<TQAMaskEdit *>(Control);
        NvLabel_Details->setText(QStringLiteral("Character Case:"));
        left = 300;
        for (const QString &name : CharCaseNames)
            NvComboBox_Details->Add(name);
        NvComboBox_Details->SetItemIndex(
            int(std::find(std::begin(CharCases), std::end(CharCases), edit->CharCase()) - std::begin(CharCases)));
    }
    NvLabel_Details->adjustSize();
    // A wider platform font must not push the label under the drop-down.
    left = std::min(left, NvComboBox_Details->x() - 4 - NvLabel_Details->width());
    // Beside its drop-down, wherever the correct-answer label has moved to.
    NvLabel_Details->move(left,
                          NvComboBox_Details->y() + (NvComboBox_Details->height() - NvLabel_Details->height()) / 2);
}

void TForm_Wizard::ShowWrittenInput()
{
    const TQuestionKind kind = Kind();
    NvLabel_Correct->move(kind == TQuestionKind::Date ? QADateTime_Correct->Left() : NvLabel_Question->x(),
                          NvLabel_Question->y());
    if (kind == TQuestionKind::Essay) {
        SetPanelCorrectTopHeight(0);
        // The memo ends above the buttons' strip.
        const int top = Grown(this, InputTop);
        const int room = PageControl->height() - Grown(this, BottomStripHeight) - top - 4;
        QARichEdit_Correct->SetBounds(0, top, Grown(this, 497), std::min(Grown(this, 177), room));
    } else {
        SetPanelCorrectTopHeight(Panel_Question->height());
    }
    QAListbox_Correct->hide();
    QAMaskEdit_Correct->SetVisible(kind == TQuestionKind::ShortAnswer);
    QARichEdit_Correct->SetVisible(kind == TQuestionKind::Essay);
    QADateTime_Correct->SetVisible(kind == TQuestionKind::Date);
}

void TForm_Wizard::SelectCorrectAnswers()
{
    QAListbox_Correct->clearSelection();
    QStringList correct;
    bool several = false;
    if (const auto *list = qobject_cast<TQAListbox *>(Control)) {
        several = list->MultiSelect();
        if (several)
            correct = list->CorrectAnswers()->Lines();
        else if (!list->CorrectAnswers()->IsEmpty())
            correct << list->CorrectAnswers()->Strings(0);
    } else if (const auto *combo = qobject_cast<TQACombobox *>(Control)) {
        correct << combo->CorrectAnswer();
    } else if (const auto *radio = qobject_cast<TQARadioGroup *>(Control)) {
        correct << radio->CorrectAnswer();
    }
    const TStrings *items = QAListbox_Correct->Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (!correct.contains((*items)[i]))
            continue;
        if (!several) {
            QAListbox_Correct->SetItemIndex(i);
            break;
        }
        QAListbox_Correct->SetSelected(i, true);
    }
}

QStringList TForm_Wizard::AnswerLines() const
{
    QStringList lines = QARichEdit_Answers->Lines()->Lines();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TForm_Wizard::BitBtn_NextClick()
{
    const QWidget *from = PageControl->currentWidget();
    if (from == TabSheet_CorrectAnswers) {
        close();
        return;
    }
    BitBtn_Next->setText(NextArrowCaption);
    ShowDetails();
    const TQuestionKind kind = Kind();
    if (from == TabSheet_Question) {
        BitBtn_Previous->setEnabled(true);
        if (IsChoiceKind(kind)) {
            if (kind == TQuestionKind::ListBox)
                NvLabel_Correct->setText(QStringLiteral("Correct Answers:"));
            NvLabel_Correct->adjustSize();
            PageControl->setCurrentWidget(TabSheet_Answers);
            QARichEdit_Answers->setFocus();
        } else {
            PageControl->setCurrentWidget(TabSheet_CorrectAnswers);
            BitBtn_Next->setText(FinishCaption);
            ShowWrittenInput();
            if (kind == TQuestionKind::ShortAnswer)
                QAMaskEdit_Correct->setFocus();
            else if (kind == TQuestionKind::Essay)
                QARichEdit_Correct->setFocus();
            else if (kind == TQuestionKind::Date)
                QADateTime_Correct->setFocus();
        }
    } else if (from == TabSheet_Answers) {
        BitBtn_Next->setText(FinishCaption);
        PageControl->setCurrentWidget(TabSheet_CorrectAnswers);
        QAListbox_Correct->Items()->Assign(AnswerLines());
        SelectCorrectAnswers();
        QAListbox_Correct->setFocus();
    }
    if (BitBtn_Next->text() == FinishCaption)
        Cancelled = false;
    PageControlChange();
}

void TForm_Wizard::BitBtn_PreviousClick()
{
    Cancelled = true;
    const QWidget *from = PageControl->currentWidget();
    if (from == TabSheet_Answers) {
        PageControl->setCurrentWidget(TabSheet_Question);
        BitBtn_Previous->setEnabled(false);
        BitBtn_Next->setText(NextCaption);
    } else if (from == TabSheet_CorrectAnswers) {
        if (IsChoiceKind(Kind())) {
            PageControl->setCurrentWidget(TabSheet_Answers);
        } else {
            PageControl->setCurrentWidget(TabSheet_Question);
            BitBtn_Previous->setEnabled(false);
        }
        BitBtn_Next->setText(NextCaption);
    }
    if (PageControl->currentWidget() == TabSheet_Question)
        QAMaskEdit_Question->setFocus();
    else if (PageControl->currentWidget() == TabSheet_Answers)
        QARichEdit_Answers->setFocus();
    PageControlChange();
}

void TForm_Wizard::BitBtn_CancelClick()
{
    Cancelled = true;
    close();
}

void TForm_Wizard::NvComboBox_DetailsChange()
{
    const QString choice = NvComboBox_Details->Text();
    if (auto *list = qobject_cast<TQAListbox *>(Control)) {
        if (choice != TrueText && choice != FalseText)
            return;
        const bool several = choice == TrueText;
        list->SetMultiSelect(several);
        const int kept = QAListbox_Correct->ItemIndex();
        QAListbox_Correct->SetMultiSelect(several);
        if (!several) {
            // A single-selection list keeps one picked line, not all of them.
            int first = -1;
            for (int i = 0; i < QAListbox_Correct->count() && first < 0; ++i)
                if (QAListbox_Correct->Selected(i))
                    first = i;
            QAListbox_Correct->clearSelection();
            if (first >= 0)
                QAListbox_Correct->SetItemIndex(first);
        } else if (kept >= 0) {
            QAListbox_Correct->SetSelected(kept, true);
        }
    } else if (auto *edit = qobject_cast<TQAMaskEdit *>(Control)) {
        const int index = int(CharCaseNames.indexOf(choice));
        if (index < 0)
            return;
        edit->SetCharCase(CharCases[index]);
        QAMaskEdit_Correct->SetCharCase(CharCases[index]);
    }
}

void TForm_Wizard::FormClose()
{
    if (Cancelled)
        return;
    WriteResults();
}

void TForm_Wizard::WriteResults()
{
    auto *question = dynamic_cast<TQuestionControl *>(Control);
    if (!question)
        return;
    question->SetQuestion(QAMaskEdit_Question->Text());
    const QStringList answers = AnswerLines();
    const TStrings *picks = QAListbox_Correct->Items();
    const int picked = QAListbox_Correct->ItemIndex();
    switch (Kind()) {
    case TQuestionKind::ShortAnswer:
        qobject_cast<TQAMaskEdit *>(Control)->SetCorrectAnswer(QAMaskEdit_Correct->Text());
        break;
    case TQuestionKind::Essay:
        qobject_cast<TQARichEdit *>(Control)->SetCorrectAnswer(QARichEdit_Correct->Text());
        break;
    case TQuestionKind::Date:
        qobject_cast<TQADateTime *>(Control)->SetCorrectAnswer(DateToStr(QADateTime_Correct->PickedDate()));
        break;
    case TQuestionKind::ListBox: {
        auto *list = qobject_cast<TQAListbox *>(Control);
        list->SetAnswers(answers);
        QStringList correct;
        if (list->MultiSelect()) {
            for (int i = 0; i < picks->Count(); ++i)
                if (QAListbox_Correct->Selected(i))
                    correct << (*picks)[i];
        } else if (picked >= 0) {
            correct << (*picks)[picked];
        }
        list->SetCorrectAnswers(correct);
        break;
    }
    case TQuestionKind::DropDown: {
        auto *combo = qobject_cast<TQACombobox *>(Control);
        combo->SetAnswers(answers);
        combo->Items()->Assign(answers);
        if (picked >= 0)
            combo->SetCorrectAnswer((*picks)[picked]);
        break;
    }
    case TQuestionKind::RadioGroup: {
        auto *radio = qobject_cast<TQARadioGroup *>(Control);
        radio->SetAnswers(answers);
        if (picked >= 0)
            radio->SetCorrectAnswer((*picks)[picked]);
        break;
    }
    case TQuestionKind::None:
        break;
    }
}
