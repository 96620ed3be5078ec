#include "testtaking/TestWizard.h"

#include "database/Database.h"
#include "dialogs/SplashAbout.h"
#include "question/Grading.h"
#include "question/QuestionControls.h"
#include "testtaking/Pictures.h"
#include "testtaking/ResultStore.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>

const QString TForm_TestWizard::FinishCaption = QStringLiteral("&Finish");
const QString TForm_TestWizard::NextCaption = QStringLiteral("&Next");
const QString TForm_TestWizard::ContinueQuestion = QStringLiteral("Continue where you stopped?");
const QString TForm_TestWizard::KeptMessage =
    QStringLiteral("Your result could not be stored in the database just now.\n\n"
                   "It is kept safely on this computer and will be stored by itself as soon as the database can be "
                   "reached. You do not need to take the test again.");
const QString TForm_TestWizard::StoredText = QStringLiteral("Your result is stored.");
const QString TForm_TestWizard::KeptText =
    QStringLiteral("Your result is kept on this computer and will be stored by itself.");

namespace {

const QString CRLF = QStringLiteral("\r\n");
constexpr int ClientWidth = 507;
constexpr int ClientHeight = 373;
constexpr int TopHeight = 58;
constexpr int BottomHeight = 35;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
// Room kept between a question control and the answer area's frame when it scrolls.
constexpr int ControlMargin = 4;

QLabel *MakeLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QPushButton *MakeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QFont BoldFont(const QFont &base, int pointSize)
{
    QFont font = base;
    font.setBold(true);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}

// The correct answer a question carries, as the transcript starts it.
QString CorrectAnswerOf(QWidget *control)
{
    if (auto list = qobject_cast<TQAListbox *>(control))
        return list->CorrectAnswers()->Text();
    if (auto edit = qobject_cast<TQAMaskEdit *>(control))
        return edit->CorrectAnswer();
    if (auto combo = qobject_cast<TQACombobox *>(control))
        return combo->CorrectAnswer();
    if (auto radio = qobject_cast<TQARadioGroup *>(control))
        return radio->CorrectAnswer();
    if (auto memo = qobject_cast<TQARichEdit *>(control))
        return memo->CorrectAnswer();
    if (auto date = qobject_cast<TQADateTime *>(control))
        return date->CorrectAnswer();
    return QString();
}

// What a question control holds, as text that RestoreAnswer puts back.
QString AnswerState(QWidget *control)
{
    if (auto list = qobject_cast<TQAListbox *>(control)) {
        QStringList selected;
        for (int i = 0; i < list->Items()->Count(); ++i)
            if (list->Selected(i))
                selected << QString::number(i);
        return selected.join(QLatin1Char(','));
    }
    if (auto edit = qobject_cast<TQAMaskEdit *>(control))
        return edit->Text();
    if (auto combo = qobject_cast<TQACombobox *>(control))
        return combo->Text();
    if (auto radio = qobject_cast<TQARadioGroup *>(control))
        return QString::number(radio->ItemIndex());
    if (auto memo = qobject_cast<TQARichEdit *>(control))
        return memo->Text();
    if (auto date = qobject_cast<TQADateTime *>(control))
        return date->date().toString(Qt::ISODate);
    return QString();
}

void RestoreAnswer(QWidget *control, const QString &state)
{
    if (auto list = qobject_cast<TQAListbox *>(control)) {
        const QStringList selected = state.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (int i = 0; i < list->Items()->Count(); ++i)
            list->SetSelected(i, selected.contains(QString::number(i)));
        if (!list->MultiSelect() && selected.isEmpty())
            list->SetItemIndex(-1);
    } else if (auto edit = qobject_cast<TQAMaskEdit *>(control)) {
        edit->SetText(state);
    } else if (auto combo = qobject_cast<TQACombobox *>(control)) {
        combo->SetText(state);
    } else if (auto radio = qobject_cast<TQARadioGroup *>(control)) {
        radio->SetItemIndex(state.toInt());
    } else if (auto memo = qobject_cast<TQARichEdit *>(control)) {
        memo->SetText(state);
    } else if (auto date = qobject_cast<TQADateTime *>(control)) {
        const QDate day = QDate::fromString(state, Qt::ISODate);
        if (day.isValid())
            date->setDate(day);
    }
}

} // namespace

QString TrimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

TForm_TestWizard::TForm_TestWizard(TDbQuery *query, bool allowPrevious, QWidget *parent)
    : QDialog(parent), Query(query), AllowPrevious(allowPrevious)
{
    setObjectName(QStringLiteral("Form_TestWizard"));
    setWindowTitle(QStringLiteral("Test Wizard"));
    // The testing program's wizard is left only by Finish: no close box. Both variants
    // can be made larger or maximised (large screens, large fonts).
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint;
    if (!AllowPrevious)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setMinimumSize(ClientWidth, ClientHeight);
    resize(ClientWidth, ClientHeight);

    BuildTopStrip();

    ScrollBox_Controls = new QScrollArea(this);
    ScrollBox_Controls->setObjectName(QStringLiteral("ScrollBox_Controls"));
    ScrollBox_Controls->setFrameShape(QFrame::NoFrame);
    ScrollBox_Controls->setFocusPolicy(Qt::NoFocus);
    ScrollBox_Controls->setGeometry(0, TopHeight, ClientWidth, ClientHeight - TopHeight - BottomHeight);
    Panel_Controls = new QFrame;
    Panel_Controls->setObjectName(QStringLiteral("Panel_Controls"));
    Panel_Controls->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel_Controls->setLineWidth(2);
    Panel_Controls->resize(ClientWidth, ClientHeight - TopHeight - BottomHeight);
    ScrollBox_Controls->setWidget(Panel_Controls);
    // A control reached by the keyboard is scrolled into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && Panel_Controls->isAncestorOf(now))
            ScrollBox_Controls->ensureWidgetVisible(now, ControlMargin, ControlMargin);
    });

    BuildBottomStrip();
    BuildGradeBox();
    FGradeOrigin = Panel_Grade->pos();

    const bool tallyShown = !AllowPrevious;
    Label_Correct->setVisible(tallyShown);
    Label_CorrectCount->setVisible(tallyShown);
    Label_Incorrect->setVisible(tallyShown);
    Label_IncorrectCount->setVisible(tallyShown);
    BitBtn_Previous->setEnabled(AllowPrevious);
    // The testing program shows its About button where Cancel would be.
    BitBtn_Cancel->setVisible(!AllowPrevious);
    BitBtn_About->setVisible(AllowPrevious);
    // A larger font must not run the tally under the buttons: the window widens instead.
    const int overlap = tallyShown ? Label_IncorrectCount->geometry().right() + 12 - BitBtn_Previous->x() : 0;
    if (overlap > 0) {
        setMinimumWidth(ClientWidth + overlap);
        resize(ClientWidth + overlap, height());
    }

    connect(BitBtn_Next, &QPushButton::clicked, this, &TForm_TestWizard::BitBtn_NextClick);
    connect(BitBtn_Previous, &QPushButton::clicked, this, &TForm_TestWizard::BitBtn_PreviousClick);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &TForm_TestWizard::BitBtn_CancelClick);
    connect(BitBtn_About, &QPushButton::clicked, this, &TForm_TestWizard::BitBtn_AboutClick);
}

TForm_TestWizard::~TForm_TestWizard() = default;

void TForm_TestWizard::BuildTopStrip()
{
    Panel = new QWidget(this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setGeometry(0, 0, ClientWidth, TopHeight);
    Panel->setAutoFillBackground(true);
    QPalette white = Panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Panel->setPalette(white);

    Panel_Number = new QFrame(Panel);
    Panel_Number->setObjectName(QStringLiteral("Panel_Number"));
    Panel_Number->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Panel_Number->setLineWidth(1);
    Panel_Number->setGeometry(3, 3, 47, 52);

    Label_Number = MakeLabel(QStringLiteral("Label_Number"), QStringLiteral("1."), Panel_Number);
    Label_Number->setTextFormat(Qt::PlainText);
    Label_Number->setAlignment(Qt::AlignCenter);
    Label_Number->setGeometry(Panel_Number->contentsRect());
    SetNumberLook(false);

    const QRect pictureRect((47 - 32) / 2, (52 - 32) / 2, 32, 32);
    const qreal ratio = qApp->devicePixelRatio();
    Image_Happy = MakeLabel(QStringLiteral("Image_Happy"), QString(), Panel_Number);
    Image_Happy->setGeometry(pictureRect);
    Image_Happy->setPixmap(HappyPicture(32, ratio));
    Image_Happy->hide();
    Image_Sad = MakeLabel(QStringLiteral("Image_Sad"), QString(), Panel_Number);
    Image_Sad->setGeometry(pictureRect);
    Image_Sad->setPixmap(SadPicture(32, ratio));
    Image_Sad->hide();

    // The question as the teacher typed it, from the top, wrapped; the strip grows for
    // it, and a question longer than the page can give it scrolls.
    ScrollBox_Question = new QScrollArea(Panel);
    ScrollBox_Question->setObjectName(QStringLiteral("ScrollBox_Question"));
    ScrollBox_Question->setFrameShape(QFrame::NoFrame);
    ScrollBox_Question->setWidgetResizable(true);
    ScrollBox_Question->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBox_Question->setFocusPolicy(Qt::NoFocus);
    ScrollBox_Question->viewport()->setBackgroundRole(QPalette::Window);
    QPalette focusFrame = white;
    focusFrame.setColor(QPalette::WindowText, focusFrame.color(QPalette::Active, QPalette::Highlight));
    ScrollBox_Question->setPalette(focusFrame);
    ScrollBox_Question->setGeometry(53, 6, 452, 46);
    ScrollBox_Question->installEventFilter(this);
    Label_Question = MakeLabel(QStringLiteral("Label_Question"), QStringLiteral("Question:"), nullptr);
    Label_Question->setFont(BoldFont(font(), 0));
    Label_Question->setTextFormat(Qt::PlainText);
    Label_Question->setWordWrap(true);
    Label_Question->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label_Question->setPalette(white);
    ScrollBox_Question->setWidget(Label_Question);
}

void TForm_TestWizard::BuildBottomStrip()
{
    Panel_Bottom = new QWidget(this);
    Panel_Bottom->setObjectName(QStringLiteral("Panel_Bottom"));
    Panel_Bottom->setGeometry(0, ClientHeight - BottomHeight, ClientWidth, BottomHeight);

    const int buttonTop = (BottomHeight - ButtonHeight) / 2;
    const int cancelLeft = ClientWidth - 8 - ButtonWidth;
    const int nextLeft = cancelLeft - 8 - ButtonWidth;
    const int previousLeft = nextLeft - 2 - ButtonWidth;
    BitBtn_Previous = MakeButton(QStringLiteral("BitBtn_Previous"), QStringLiteral("< &Previous"), Panel_Bottom);
    BitBtn_Previous->setGeometry(previousLeft, buttonTop, ButtonWidth, ButtonHeight);
    BitBtn_Next = MakeButton(QStringLiteral("BitBtn_Next"), QStringLiteral("&Next >"), Panel_Bottom);
    BitBtn_Next->setGeometry(nextLeft, buttonTop, ButtonWidth, ButtonHeight);
    BitBtn_Next->setDefault(true);
    BitBtn_Cancel = MakeButton(QStringLiteral("BitBtn_Cancel"), QStringLiteral("&Cancel"), Panel_Bottom);
    BitBtn_Cancel->setGeometry(cancelLeft, buttonTop, ButtonWidth, ButtonHeight);
    BitBtn_About = MakeButton(QStringLiteral("BitBtn_About"), QStringLiteral("&About"), Panel_Bottom);
    BitBtn_About->setGeometry(cancelLeft, buttonTop, ButtonWidth, ButtonHeight);
    // Captions wider than the classic 75 pixels (large fonts) widen their buttons leftwards.
    for (QPushButton *button : {BitBtn_Previous, BitBtn_Next, BitBtn_Cancel, BitBtn_About}) {
        const int needed = button->sizeHint().width();
        if (needed > ButtonWidth)
            button->setGeometry(button->x() - (needed - ButtonWidth), buttonTop, needed, ButtonHeight);
    }
    if (BitBtn_Next->x() + BitBtn_Next->width() + 8 > BitBtn_Cancel->x())
        BitBtn_Next->move(BitBtn_Cancel->x() - 8 - BitBtn_Next->width(), buttonTop);
    if (BitBtn_Previous->x() + BitBtn_Previous->width() + 2 > BitBtn_Next->x())
        BitBtn_Previous->move(BitBtn_Next->x() - 2 - BitBtn_Previous->width(), buttonTop);
    // The buttons keep their distance from the right edge when the window grows.
    for (QPushButton *button : {BitBtn_Previous, BitBtn_Next, BitBtn_Cancel, BitBtn_About})
        FDesignedLefts.append({button, button->x()});

    Label_Correct = MakeLabel(QStringLiteral("Label_Correct"), QStringLiteral("Correct:"), Panel_Bottom);
    Label_CorrectCount = MakeLabel(QStringLiteral("Label_CorrectCount"), QStringLiteral("0"), Panel_Bottom);
    Label_Incorrect = MakeLabel(QStringLiteral("Label_Incorrect"), QStringLiteral("Incorrect:"), Panel_Bottom);
    Label_IncorrectCount = MakeLabel(QStringLiteral("Label_IncorrectCount"), QStringLiteral("0"), Panel_Bottom);
    // Each caption in its own width, each count with room for three digits.
    const int countWidth = fontMetrics().horizontalAdvance(QStringLiteral("000")) + 4;
    int left = 8;
    for (QLabel *label : {Label_Correct, Label_CorrectCount, Label_Incorrect, Label_IncorrectCount}) {
        const bool count = label == Label_CorrectCount || label == Label_IncorrectCount;
        const int width = count ? countWidth : label->sizeHint().width();
        label->setGeometry(left, 0, width, BottomHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        left += width + (count ? 12 : 4);
    }
}

void TForm_TestWizard::BuildGradeBox()
{
    Panel_Grade = new QFrame(this);
    Panel_Grade->setObjectName(QStringLiteral("Panel_Grade"));
    Panel_Grade->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel_Grade->setLineWidth(1);
    Panel_Grade->setAutoFillBackground(true);
    // Room below the figures for the status as stored and whether it is stored.
    Panel_Grade->setGeometry(117, 78, 273, 153 + 68);
    Panel_Grade->hide();

    // Large bold type, shrunk when the platform's font would not fit the box.
    QFont large = BoldFont(font(), 16);
    for (int size = 16; size > 9; --size) {
        large.setPointSize(size);
        const QFontMetrics metrics(large);
        if (metrics.horizontalAdvance(QStringLiteral("Incorrect:")) +
                    metrics.horizontalAdvance(QStringLiteral("100.0%")) + 48 <=
                273 &&
            metrics.height() * 3 + 24 <= 153)
            break;
    }
    const QFontMetrics metrics(large);
    const int rowHeight = 153 / 3 - 6;
    const int percentWidth = metrics.horizontalAdvance(QStringLiteral("%")) + 4;
    const int numberRight = 273 - 16 - percentWidth;
    const int numberWidth = metrics.horizontalAdvance(QStringLiteral("100.0")) + 8;
    const int captionWidth = numberRight - numberWidth - 16;

    auto row = [&](const QString &captionName, const QString &caption, const QString &valueName, int index,
                   QLabel *&captionLabel, QLabel *&valueLabel) {
        const int top = 9 + index * (rowHeight + 6);
        captionLabel = MakeLabel(captionName, caption, Panel_Grade);
        captionLabel->setFont(large);
        captionLabel->setGeometry(16, top, captionWidth, rowHeight);
        valueLabel = MakeLabel(valueName, QStringLiteral("0"), Panel_Grade);
        valueLabel->setFont(large);
        valueLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        valueLabel->setGeometry(numberRight - numberWidth, top, numberWidth, rowHeight);
    };
    row(QStringLiteral("Label_Correct2"), QStringLiteral("Correct:"), QStringLiteral("Label_CorrectCount2"), 0,
        Label_Correct2, Label_CorrectCount2);
    row(QStringLiteral("Label_Incorrect2"), QStringLiteral("Incorrect:"), QStringLiteral("Label_IncorrectCount2"), 1,
        Label_Incorrect2, Label_IncorrectCount2);
    row(QStringLiteral("Label_GradeCaption2"), QStringLiteral("Grade:"), QStringLiteral("Label_Grade2"), 2,
        Label_GradeCaption2, Label_Grade2);
    Label_Percent = MakeLabel(QStringLiteral("Label_Percent"), QStringLiteral("%"), Panel_Grade);
    Label_Percent->setFont(large);
    Label_Percent->setGeometry(numberRight + 2, Label_Grade2->y(), percentWidth, rowHeight);

    Label_Status = MakeLabel(QStringLiteral("Label_Status"), QString(), Panel_Grade);
    Label_Status->setTextFormat(Qt::PlainText);
    Label_Status->setFont(BoldFont(font(), 0));
    Label_Status->setGeometry(16, 153, 273 - 32, 20);
    Label_Stored = MakeLabel(QStringLiteral("Label_Stored"), QString(), Panel_Grade);
    Label_Stored->setTextFormat(Qt::PlainText);
    Label_Stored->setWordWrap(true);
    Label_Stored->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label_Stored->setGeometry(16, 175, 273 - 32, 153 + 68 - 175 - 4);
}

void TForm_TestWizard::SetNumberLook(bool finished)
{
    QPalette palette = Label_Number->palette();
    palette.setColor(QPalette::WindowText, finished ? Qt::red : Qt::black);
    Label_Number->setPalette(palette);
    int size = finished ? 18 : 14;
    QFont number = BoldFont(font(), size);
    // Long tests have numbers of three digits; they shrink rather than being cut off.
    const int room = Label_Number->width() - 2;
    while (size > 7 && QFontMetrics(number).horizontalAdvance(Label_Number->text()) > room)
        number.setPointSize(--size);
    Label_Number->setFont(number);
}

void TForm_TestWizard::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    if (!parentWidget()) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    FormShow();
}

void TForm_TestWizard::FormShow()
{
    if (AllowPrevious) {
        BitBtn_Previous->setVisible(true);
        BitBtn_Previous->setEnabled(false);
    }

    QString failure;
    try {
        if (!Query)
            throw Exception(QStringLiteral("The window has no statement object to read the questions with."));
        LoadTestQuestions(*Query, ControlDefs, TestID);
    } catch (const Exception &e) {
        failure = QStringLiteral("The questions of the test could not be loaded:\n") + e.Message();
    }
    if (failure.isEmpty()) {
        try {
            CreateQuestionControls(ControlDefs, QuestionControls, this, Panel_Controls);
        } catch (const Exception &e) {
            failure = e.Message();
        }
        // An error ends the loading at the question it met; an entry without a control
        // names no question kind.
        const qsizetype bad = failure.isEmpty() ? -1 : QuestionControls.size();
        qsizetype index = bad;
        if (index < 0) {
            for (qsizetype i = 0; i < QuestionControls.size(); ++i)
                if (!QuestionControls.at(i).Control) {
                    index = i;
                    const QString header = SplitLines(ControlDefs.value(i).Def.Control).value(0);
                    failure = QStringLiteral("Its text names no question kind (%1).").arg(ObjectLineClassName(header));
                    break;
                }
        }
        if (index >= 0)
            failure = QStringLiteral("Question %1 of the test (ID %2) cannot be shown:\n%3")
                          .arg(index + 1)
                          .arg(ControlDefs.value(index).Def.ID)
                          .arg(failure);
        else if (ControlDefs.isEmpty())
            failure = QStringLiteral("The test has no questions.");
    }

    for (qsizetype i = 0; i < QuestionControls.size(); ++i) {
        QWidget *control = QuestionControls.at(i).Control;
        if (!control)
            continue;
        FitChoiceControl(control);
        NameAnswerControl(control, QuestionControls.at(i).Text);
        control->setVisible(i == 0);
        if (AllowPrevious) {
            TQuestion record;
            record.Question = GetQuestionText(control);
            record.Answer = CorrectAnswerOf(control);
            record.Control = control;
            Questions.append({QuestionControls.at(i).Text, record});
        }
    }

    PageIndex = 0;
    if (!QuestionControls.isEmpty())
        Label_Question->setText(QuestionControls.at(0).Text);
    ArrangePage();
    if (!failure.isEmpty()) {
        MarkUnavailable(failure);
        return;
    }
    FocusQuestion();
    if (SaveResult && Key().TestID > 0 && Key().ClassID > 0) {
        LoadTestProgress(Key(), &FProgress, &FBase);
        if (!FProgress.IsEmpty())
            // Asked once the window stands on the screen, so the box has it behind it.
            QTimer::singleShot(0, this, &TForm_TestWizard::OfferToContinue);
    }
}

TResultKey TForm_TestWizard::Key() const
{
    TResultKey key;
    TDbConnection connection;
    connection.SetConnectionString(ConnectionString);
    key.DatabasePath = connection.DatabasePath();
    key.StudentID = StudentID;
    key.TestID = StrToIntDef(TestID, 0);
    key.ClassID = StrToIntDef(ClassID, 0);
    return key;
}

void TForm_TestWizard::OfferToContinue()
{
    if (FProgress.IsEmpty() || PageIndex != 0 || TestUnavailable())
        return;
    if (ConfirmBox(ContinueQuestion, BtnYes | BtnNo) != ResultYes)
        return;
    // Answers go back where the same question still stands; a changed test keeps the rest.
    for (qsizetype i = 0; i < FProgress.States.size() && i < QuestionControls.size(); ++i) {
        QWidget *control = QuestionControls.at(i).Control;
        const int id = ControlDefs.value(i).Def.ID;
        if (control && id == FProgress.ControlIDs.value(i))
            RestoreAnswer(control, FProgress.States.at(i));
    }
    const int page = std::clamp(FProgress.Page, 0, int(QuestionControls.size()) - 1);
    if (QWidget *control = CurrentControl())
        control->hide();
    PageIndex = page;
    if (PageIndex > 0)
        BitBtn_Next->setText(NextCaption);
    BitBtn_Previous->setEnabled(PageIndex > 0 && AllowPrevious);
    ShowPage(PageIndex);
    FocusQuestion();
}

void TForm_TestWizard::SaveProgress()
{
    if (!SaveResult || TestUnavailable())
        return;
    const TResultKey key = Key();
    if (key.TestID <= 0 || key.ClassID <= 0)
        return;
    TTestProgress progress;
    progress.Page = std::min<int>(PageIndex, int(QuestionControls.size()) - 1);
    progress.SavedAt = QDateTime::currentMSecsSinceEpoch();
    for (qsizetype i = 0; i < QuestionControls.size(); ++i) {
        progress.ControlIDs << ControlDefs.value(i).Def.ID;
        progress.States << AnswerState(QuestionControls.at(i).Control);
    }
    FProgressPlace = SaveTestProgress(key, progress, ProgressWaitTime);
}

void TForm_TestWizard::MarkUnavailable(const QString &reason)
{
    FUnavailableReason = reason;
    for (const TQuestionEntry &entry : std::as_const(QuestionControls))
        if (entry.Control)
            entry.Control->hide();
    Label_Question->setText(QStringLiteral("This test cannot be taken."));
    Label_Number->setText(QStringLiteral("!"));
    SetNumberLook(true);
    ArrangePage();
    BitBtn_Previous->setEnabled(false);
    BitBtn_Next->setText(QStringLiteral("&Close"));
    BitBtn_Next->setEnabled(true);
    BitBtn_Cancel->setEnabled(false);
    // Reported once the window stands on the screen, so the box has it behind it.
    QTimer::singleShot(0, this, [this] {
        ShowErrorBox(FUnavailableReason + QStringLiteral("\n\nThe test cannot be taken until it has been corrected."));
    });
}

void TForm_TestWizard::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    ArrangePage();
}

bool TForm_TestWizard::eventFilter(QObject *watched, QEvent *event)
{
    // A question that scrolls can be read with the keyboard too: it takes the focus
    // (framed in the highlight colour) and scrolls with the arrow keys.
    if (watched == ScrollBox_Question && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const bool focused = event->type() == QEvent::FocusIn;
        ScrollBox_Question->setFrameStyle(focused ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        ScrollBox_Question->setLineWidth(2);
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_TestWizard::NameAnswerControl(QWidget *control, const QString &question)
{
    // A screen reader says the question when the answer takes the focus; the choices
    // (radio buttons, list items) keep their own texts.
    const QString name = question.simplified();
    control->setAccessibleName(name);
    if (auto *radio = qobject_cast<TRadioGroup *>(control))
        for (int i = 0; QRadioButton *button = radio->Button(i); ++i)
            button->setAccessibleDescription(name);
}

void TForm_TestWizard::FitChoiceControl(QWidget *control)
{
    QSize needed;
    if (auto radio = qobject_cast<TRadioGroup *>(control)) {
        needed = radio->minimumSizeHint();
    } else if (auto list = qobject_cast<TListBox *>(control)) {
        if (list->Columns() > 0 || list->count() == 0)
            return;
        int rows = 0;
        for (int i = 0; i < list->count(); ++i)
            rows += list->sizeHintForRow(i);
        const int frame = 2 * list->frameWidth();
        needed = QSize(list->sizeHintForColumn(0) + frame + 4, rows + frame);
    } else {
        return;
    }
    control->resize(control->size().expandedTo(needed));
}

void TForm_TestWizard::ArrangePage()
{
    const int w = width();
    const int h = height();
    const int dx = w - ClientWidth;
    const int dy = h - ClientHeight;
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int room = std::max(h - BottomHeight, TopHeight);

    // What the answer area needs for the control shown.
    QWidget *control = CurrentControl();
    if (control && !control->isVisibleTo(this))
        control = nullptr;
    const int frame = Panel_Controls->frameWidth() + ControlMargin;
    const QSize answerNeeded = control ? control->size() + QSize(2 * frame, 2 * frame) : QSize(0, 0);

    // The question gets the room its wrapped text needs; when the page cannot give it that
    // beside the answer, it gets at least half the page and scrolls.
    const int questionWidth = std::max(1, w - 55);
    int textHeight = Label_Question->heightForWidth(questionWidth);
    if (textHeight < 0)
        textHeight = Label_Question->sizeHint().height();
    const int wanted = std::max(TopHeight, textHeight + 12);
    int top = wanted;
    if (top + answerNeeded.height() > room)
        top = std::max({TopHeight, std::min(wanted, room - answerNeeded.height()), std::min(wanted, room / 2)});
    top = std::min(top, room);
    const bool questionScrolls = top < wanted;

    Panel->setGeometry(0, 0, w, top);
    ScrollBox_Question->setGeometry(53, 6, w - 55, top - 12);
    ScrollBox_Question->setFocusPolicy(questionScrolls ? Qt::StrongFocus : Qt::NoFocus);
    if (!questionScrolls)
        ScrollBox_Question->verticalScrollBar()->setValue(0);

    ScrollBox_Controls->setGeometry(0, top, w, room - top);
    int viewWidth = w;
    int viewHeight = room - top;
    const bool scrollsDown = answerNeeded.height() > viewHeight;
    if (scrollsDown)
        viewWidth -= bar;
    if (answerNeeded.width() > viewWidth) {
        viewHeight -= bar;
        if (!scrollsDown && answerNeeded.height() > viewHeight)
            viewWidth -= bar;
    }
    Panel_Controls->resize(std::max(viewWidth, answerNeeded.width()), std::max(viewHeight, answerNeeded.height()));
    // Each control centred in the answer area (one that makes it scroll keeps the margin).
    const QRect client = Panel_Controls->contentsRect();
    for (const TQuestionEntry &entry : std::as_const(QuestionControls))
        if (QWidget *each = entry.Control)
            each->move(client.left() + (client.width() - each->width()) / 2,
                       client.top() + (client.height() - each->height()) / 2);

    Panel_Bottom->setGeometry(0, h - BottomHeight, w, BottomHeight);
    for (const auto &[button, left] : std::as_const(FDesignedLefts))
        button->move(left + dx, button->y());
    Panel_Grade->move(FGradeOrigin + QPoint(dx / 2, dy / 2));
}

QWidget *TForm_TestWizard::CurrentControl() const
{
    if (PageIndex < 0 || PageIndex >= QuestionControls.size())
        return nullptr;
    return QuestionControls.at(PageIndex).Control;
}

void TForm_TestWizard::ShowPage(int index)
{
    if (index < 0 || index >= QuestionControls.size())
        return;
    if (QWidget *control = QuestionControls.at(index).Control)
        control->show();
    Label_Question->setText(QuestionControls.at(index).Text);
    Label_Number->setText(QString::number(index + 1) + QLatin1Char('.'));
    Label_Number->setVisible(true);
    SetNumberLook(false);
    ArrangePage();
}

void TForm_TestWizard::BitBtn_NextClick()
{
    Panel_Grade->hide();
    if (TestUnavailable()) {
        CloseWindow(QDialog::Rejected);
        return;
    }
    if (BitBtn_Next->text() == FinishCaption) {
        CloseWindow(QDialog::Accepted);
        return;
    }
    BitBtn_Next->setText(NextCaption);

    QWidget *control = CurrentControl();
    if (control)
        control->hide();
    if (GradeQuestion(control))
        ++CorrectCount;
    else
        ++IncorrectCount;
    Label_CorrectCount->setText(QString::number(CorrectCount));
    Label_IncorrectCount->setText(QString::number(IncorrectCount));

    ++PageIndex;
    const bool finished = PageIndex >= QuestionControls.size();
    if (!finished)
        SaveProgress();
    if (finished) {
        BitBtn_Next->setText(FinishCaption);
        BitBtn_Cancel->setEnabled(false);
        Panel_Grade->show();
        ShowGrade();
        Panel_Grade->raise();
        if (AllowPrevious)
            BitBtn_Previous->hide();
    }
    BitBtn_Previous->setEnabled(PageIndex > 0 && AllowPrevious);

    if (finished) {
        Label_Question->setText(QStringLiteral("Test Complete!"));
        Label_Number->setText(QStringLiteral("!"));
        SetNumberLook(true);
        ArrangePage();
    } else {
        ShowPage(PageIndex);
        FocusQuestion();
    }
}

void TForm_TestWizard::BitBtn_PreviousClick()
{
    if (TestUnavailable() || PageIndex <= 0)
        return;
    Panel_Grade->hide();
    BitBtn_Next->setText(NextCaption);

    if (QWidget *control = CurrentControl())
        control->hide();
    --PageIndex;
    SaveProgress();
    BitBtn_Previous->setEnabled(PageIndex > 0 && AllowPrevious);
    ShowPage(PageIndex);
    Image_Happy->hide();
    Image_Sad->hide();
    FocusQuestion();
}

void TForm_TestWizard::BitBtn_CancelClick()
{
    CloseWindow(QDialog::Rejected);
}

void TForm_TestWizard::BitBtn_AboutClick()
{
    TNvAboutBox about(this);
    about.Title = QStringLiteral("Tamberlin");
    about.Execute();
}

void TForm_TestWizard::FocusQuestion()
{
    QWidget *control = CurrentControl();
    if (!control || !Panel_Controls->isAncestorOf(control) || !control->isEnabled() || !control->isVisibleTo(this))
        return;
    // A radio group takes the focus on its checked button, or its first.
    if (auto radio = qobject_cast<TRadioGroup *>(control)) {
        const int index = radio->ItemIndex() >= 0 ? radio->ItemIndex() : 0;
        if (QRadioButton *button = radio->Button(index))
            button->setFocus();
        return;
    }
    if (control->focusPolicy() != Qt::NoFocus)
        control->setFocus();
}

TQuestion *TForm_TestWizard::QuestionOf(QWidget *control)
{
    // Matched by control, not by question text: two questions with the same wording
    // each keep their own answer in the transcript.
    for (TQuestionRecord &entry : Questions)
        if (entry.Record.Control == control)
            return &entry.Record;
    return nullptr;
}

bool TForm_TestWizard::GradeQuestion(QWidget *control)
{
    if (!control)
        return false;
    bool correct = false;
    QString answer;

    if (auto list = qobject_cast<TQAListbox *>(control)) {
        const TStrings *wanted = list->CorrectAnswers();
        const TStrings *items = list->Items();
        if (list->MultiSelect()) {
            correct = true;
            for (int i = 0; i < wanted->Count() && correct; ++i) {
                const int index = items->IndexOf((*wanted)[i]);
                correct = index >= 0 && list->Selected(index);
            }
            correct = correct && list->SelCount() == wanted->Count();
            for (int i = 0; i < items->Count(); ++i)
                if (list->Selected(i))
                    answer += (*items)[i] + CRLF;
        } else if (wanted->IsEmpty()) {
            correct = true;
        } else {
            const int selected = list->ItemIndex();
            correct = items->IndexOf((*wanted)[0]) == selected;
            answer = selected >= 0 ? items->Strings(selected) : QString();
        }
    } else if (auto memo = qobject_cast<TQARichEdit *>(control)) {
        answer = TrimBlanks(memo->Text());
        correct = answer == memo->CorrectAnswer();
    } else if (auto radio = qobject_cast<TQARadioGroup *>(control)) {
        const int checked = radio->ItemIndex();
        correct = radio->Items()->IndexOf(radio->CorrectAnswer()) == checked;
        answer = checked >= 0 ? TrimBlanks(radio->Items()->Strings(checked)) : QString();
    } else if (auto date = qobject_cast<TQADateTime *>(control)) {
        // The day the student sees in the picker.
        const QDate picked = date->date();
        const QString wanted = date->CorrectAnswer();
        correct = !IsValidDate(wanted) || picked == StrToDate(wanted);
        answer = DateToStr(picked);
    } else if (auto edit = qobject_cast<TQAMaskEdit *>(control)) {
        answer = edit->Text();
        correct = TrimBlanks(edit->CorrectAnswer()) == TrimBlanks(answer);
    } else if (auto combo = qobject_cast<TQACombobox *>(control)) {
        answer = combo->Text();
        correct = TrimBlanks(combo->CorrectAnswer()) == TrimBlanks(answer);
    } else {
        return false;
    }

    if (TQuestion *record = QuestionOf(control)) {
        record->Answer = answer;
        record->Correct = correct;
    }
    return correct;
}

void TForm_TestWizard::ShowGrade()
{
    int correct = 0;
    int incorrect = 0;
    for (const TQuestionEntry &entry : std::as_const(QuestionControls)) {
        QWidget *control = entry.Control;
        if (!control || control->parentWidget() != Panel_Controls)
            continue;
        if (GradeQuestion(control))
            ++correct;
        else
            ++incorrect;
    }
    Label_CorrectCount2->setText(QString::number(correct));
    Label_IncorrectCount2->setText(QString::number(incorrect));

    FGrade = correct > 0 ? ComputeGrade(correct, incorrect) : 0;
    Label_Grade2->setText(correct > 0 ? FormatGrade(FGrade) : QStringLiteral("0"));

    const int whole = WholeGrade(FGrade);
    const bool passed = whole >= Grading::PassMark;
    Image_Sad->setVisible(!passed);
    Image_Happy->setVisible(passed);
    // The picture takes the number box's place.
    Label_Number->setVisible(false);

    if (SaveResult) {
        Label_Status->setText(QStringLiteral("Status: ") + Grading::FinishedStatus(whole));
        WriteTestResult(whole);
    }
}

void TForm_TestWizard::ShowStoredState()
{
    if (FResultKept && !IsResultKept(Key())) {
        // The background retry has dealt with it: stored, or a newer result stood there.
        FResultKept = false;
        try {
            TDbConnection connection;
            connection.SetConnectionString(ConnectionString);
            connection.SetReadOnly(true);
            TDbQuery query(&connection);
            query.Add(QStringLiteral("SELECT STATUS, ANSWERS FROM testresults"));
            query.Add(QStringLiteral("WHERE STUDENTID=") + QuotedStr(StudentID));
            query.Add(QStringLiteral("AND TESTID=") + QString::number(Key().TestID));
            query.Add(QStringLiteral("AND CLASSID=") + QString::number(Key().ClassID));
            query.Add(QStringLiteral("ORDER BY SERIAL DESC"));
            query.Open();
            FResultStored = !query.Eof() && query.FieldByName("ANSWERS").AsString() == Transcript() + QLatin1Char(' ');
            if (!query.Eof())
                Label_Status->setText(QStringLiteral("Status: ") + query.FieldByName("STATUS").AsString());
        } catch (const Exception &) {
            FResultStored = false;
        }
        if (!FResultStored)
            Label_Stored->setText(QStringLiteral("A newer result of this test has been stored."));
    }
    if (FResultStored)
        Label_Stored->setText(StoredText);
    else if (FResultKept)
        Label_Stored->setText(KeptText);
}

QString TForm_TestWizard::Transcript() const
{
    QString text;
    int number = 0;
    for (const TQuestionRecord &entry : Questions) {
        const TQuestion &q = entry.Record;
        text += QString::number(++number) + QStringLiteral(". ") + q.Question + CRLF + CRLF + q.Answer +
                (q.Correct ? QStringLiteral(" (CORRECT)") : QStringLiteral(" (INCORRECT)")) + CRLF + CRLF + CRLF;
    }
    return text;
}

bool TForm_TestWizard::WriteTestResult(int grade)
{
    // Both keys go into the statements' text, so only integers are taken.
    bool testOk = false;
    bool classOk = false;
    StrToIntDef(TestID, 0, &testOk);
    StrToIntDef(ClassID, 0, &classOk);
    if (!testOk || !classOk) {
        ShowMessage(QStringLiteral("'%1' is not a valid integer value").arg(testOk ? ClassID : TestID));
        return false;
    }

    TTestResult result;
    result.Key = Key();
    result.Grade = grade;
    result.Status = Grading::FinishedStatus(grade);
    result.TestDate = QDate::currentDate();
    result.Answers = Transcript() + QLatin1Char(' ');
    result.Base = FBase;
    result.FinishedAt = QDateTime::currentMSecsSinceEpoch();

    QString error;
    if (StoreTestResult(result, false, ResultWait, &error) == TStoreOutcome::Stored) {
        FResultStored = true;
        // An older result of this test still waiting here would only be superseded now.
        ForgetKeptResults(result.Key);
        ForgetLocalProgress(result.Key);
        ShowStoredState();
        return true;
    }
    QString keepError;
    if (KeepTestResult(result, &keepError)) {
        FResultKept = true;
        ForgetLocalProgress(result.Key);
        ShowStoredState();
        ShowMessage(KeptMessage);
        connect(TKeptResultRetrier::Instance(), &TKeptResultRetrier::Changed, this, &TForm_TestWizard::ShowStoredState,
                Qt::UniqueConnection);
        TKeptResultRetrier::Instance()->Start();
        return false;
    }
    Label_Stored->setText(QStringLiteral("Your result could not be stored."));
    ShowMessage(QStringLiteral("Your result could not be stored in the database, and it could not be kept on this "
                               "computer either.\n\nPlease tell your teacher at once; the grade shown is ") +
                FormatGrade(FGrade) + QStringLiteral("%.\n\n(") + error + QStringLiteral("; ") + keepError +
                QLatin1Char(')'));
    return false;
}

void TForm_TestWizard::CloseWindow(int result)
{
    FClosing = true;
    done(result);
}

void TForm_TestWizard::reject()
{
    if (BitBtn_Cancel->isVisible() && BitBtn_Cancel->isEnabled())
        BitBtn_CancelClick();
    else if (TestUnavailable())
        CloseWindow(QDialog::Rejected);
}

void TForm_TestWizard::closeEvent(QCloseEvent *event)
{
    if (FClosing) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    // The authoring program's wizard keeps its close box; nothing is written there.
    if (!AllowPrevious || TestUnavailable())
        CloseWindow(QDialog::Rejected);
}
