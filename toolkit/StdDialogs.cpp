#include "toolkit/StdDialogs.h"

#include "toolkit/ModalResult.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QQueue>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

struct TScript {
    bool On = false;
    QQueue<QPair<int, QString>> Answers;
    QList<TShownBox> Shown;
};

TScript &Script()
{
    static TScript script;
    return script;
}

QString Title()
{
    return QApplication::applicationDisplayName().isEmpty() ? QApplication::applicationName()
                                                            : QApplication::applicationDisplayName();
}

// What Escape answers in a box with these buttons.
int EscapeAnswer(int buttons)
{
    if (buttons == 0 || buttons == BtnOK)
        return ResultOK;
    if (buttons & BtnCancel)
        return ResultCancel;
    if (buttons & BtnNo)
        return ResultNo;
    if (buttons & BtnAbort)
        return ResultAbort;
    return ResultCancel;
}

} // namespace

void TDialogSeam::BeginScript()
{
    Script().On = true;
    Script().Answers.clear();
    Script().Shown.clear();
}

void TDialogSeam::EndScript()
{
    Script() = TScript();
}

bool TDialogSeam::Scripting()
{
    return Script().On;
}

void TDialogSeam::SetNextAnswer(int result, const QString &text)
{
    Script().Answers.enqueue({result, text});
}

int TDialogSeam::PendingAnswers()
{
    return Script().Answers.size();
}

const QList<TShownBox> &TDialogSeam::Shown()
{
    return Script().Shown;
}

QString TDialogSeam::LastText()
{
    return Script().Shown.isEmpty() ? QString() : Script().Shown.last().Text;
}

void TDialogSeam::ClearShown()
{
    Script().Shown.clear();
}

bool TDialogSeam::Intercept(const TShownBox &box, int *result, QString *text)
{
    TScript &script = Script();
    if (!script.On)
        return false;
    script.Shown.append(box);
    int answer = EscapeAnswer(box.Buttons);
    QString answerText;
    if (!script.Answers.isEmpty()) {
        auto next = script.Answers.dequeue();
        answer = next.first;
        answerText = next.second;
    }
    if (result)
        *result = answer;
    if (text)
        *text = answerText;
    return true;
}

namespace {

// The standard box with its text shown as typed, never taken for rich text.
QMessageBox::StandardButton PlainBox(QMessageBox::Icon icon, const QString &caption, const QString &text,
                                     QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void ShowMessage(const QString &text)
{
    TShownBox box{TBoxKind::Message, Title(), text, BtnOK};
    if (TDialogSeam::Intercept(box, nullptr))
        return;
    PlainBox(QMessageBox::Information, Title(), text, QMessageBox::Ok);
}

int ConfirmBox(const QString &text, int buttons)
{
    TShownBox box{TBoxKind::Confirmation, QStringLiteral("Confirm"), text, buttons};
    int result = ResultNone;
    if (TDialogSeam::Intercept(box, &result))
        return result;

    struct Pair {
        int Bit;
        QMessageBox::StandardButton Button;
        int Result;
    };
    static const Pair pairs[] = {
        {BtnYes, QMessageBox::Yes, ResultYes},
        {BtnNo, QMessageBox::No, ResultNo},
        {BtnOK, QMessageBox::Ok, ResultOK},
        {BtnCancel, QMessageBox::Cancel, ResultCancel},
        {BtnAbort, QMessageBox::Abort, ResultAbort},
        {BtnRetry, QMessageBox::Retry, ResultRetry},
        {BtnIgnore, QMessageBox::Ignore, ResultIgnore},
        {BtnAll, QMessageBox::YesToAll, ResultAll},
    };
    QMessageBox::StandardButtons standard;
    for (const Pair &p : pairs)
        if (buttons & p.Bit)
            standard |= p.Button;
    if (!standard)
        standard = QMessageBox::Ok;
    QMessageBox::StandardButton chosen = PlainBox(QMessageBox::Question, box.Caption, text, standard);
    for (const Pair &p : pairs)
        if (p.Button == chosen)
            return p.Result;
    return EscapeAnswer(buttons);
}

void ShowErrorBox(const QString &text)
{
    TShownBox box{TBoxKind::Error, Title(), text, BtnOK};
    if (TDialogSeam::Intercept(box, nullptr))
        return;
    PlainBox(QMessageBox::Critical, Title(), text, QMessageBox::Ok);
}

bool InputQuery(const QString &caption, const QString &prompt, QString &value)
{
    TShownBox box{TBoxKind::Input, caption, prompt, BtnOK | BtnCancel};
    int result = ResultNone;
    QString text;
    if (TDialogSeam::Intercept(box, &result, &text)) {
        if (result != ResultOK)
            return false;
        value = text;
        return true;
    }
    bool ok = false;
    QString typed = QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = typed;
    return ok;
}

QString OpenFileDialog(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    TShownBox box{TBoxKind::OpenFile, caption, dir, BtnOK | BtnCancel};
    int result = ResultNone;
    QString text;
    if (TDialogSeam::Intercept(box, &result, &text))
        return result == ResultOK ? text : QString();
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString SaveFileDialog(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    TShownBox box{TBoxKind::SaveFile, caption, dir, BtnOK | BtnCancel};
    int result = ResultNone;
    QString text;
    if (TDialogSeam::Intercept(box, &result, &text))
        return result == ResultOK ? text : QString();
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

bool TFontDialog::Execute(QWidget *parent)
{
    TShownBox box{TBoxKind::Window, QStringLiteral("Font"), Font.ToQFont().toString(), BtnOK | BtnCancel};
    int result = ResultNone;
    QString text;
    if (TDialogSeam::Intercept(box, &result, &text)) {
        QFont chosen;
        if (result != ResultOK || !chosen.fromString(text))
            return false;
        Font.AssignQFont(chosen);
        return true;
    }
    std::unique_ptr<QFontDialog> dialog(Build(parent));
    auto *color = dialog->findChild<QComboBox *>(QStringLiteral("ComboBox_Color"));
    if (dialog->exec() != QDialog::Accepted)
        return false;
    Font.AssignQFont(dialog->selectedFont());
    if (color && color->currentIndex() >= 0)
        Font.SetColor(static_cast<TColor>(color->currentData().toLongLong()));
    return true;
}

QFontDialog *TFontDialog::Build(QWidget *parent) const
{
    auto *dialog = new QFontDialog(Font.ToQFont(), parent);
    dialog->setObjectName(QStringLiteral("FontDialog"));
    dialog->setWindowTitle(QStringLiteral("Font"));
    // Our own dialog, not the platform's, so that its effects part can follow the rule.
    dialog->setOption(QFontDialog::DontUseNativeDialog);
    QComboBox *color = nullptr;
    for (QGroupBox *group : dialog->findChildren<QGroupBox *>()) {
        if (group->findChildren<QCheckBox *>().isEmpty())
            continue; // the sample, not the effects
        if (!Effects) {
            group->hide();
            break;
        }
        color = new QComboBox(group);
        color->setObjectName(QStringLiteral("ComboBox_Color"));
        static const TColor basic[] = {clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
                                       clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
        if (std::find(std::begin(basic), std::end(basic), Font.Color()) == std::end(basic))
            color->addItem(ColorToString(Font.Color()), QVariant::fromValue(qint64(Font.Color())));
        for (TColor each : basic)
            color->addItem(ColorToString(each), QVariant::fromValue(qint64(each)));
        color->setCurrentIndex(color->findData(QVariant::fromValue(qint64(Font.Color()))));
        if (group->layout()) {
            auto *label = new QLabel(QStringLiteral("Color:"), group);
            label->setBuddy(color);
            group->layout()->addWidget(label);
            group->layout()->addWidget(color);
        }
        break;
    }
    // Qt leaves its lists and fields without names: a screen reader names them by these.
    const QList<QListView *> lists = dialog->findChildren<QListView *>();
    const QStringList listNames{QStringLiteral("Font"), QStringLiteral("Font style"), QStringLiteral("Size")};
    for (int i = 0; i < lists.size() && i < listNames.size(); ++i)
        lists[i]->setAccessibleName(listNames[i]);
    for (QLineEdit *edit : dialog->findChildren<QLineEdit *>())
        if (edit->accessibleName().isEmpty() && edit->isReadOnly())
            edit->setAccessibleName(QStringLiteral("Sample"));
    return dialog;
}
