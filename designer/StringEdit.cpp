#include "designer/StringEdit.h"

#include "toolkit/ModalResult.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// Tab leaves the text for the buttons; Ctrl+Tab types a tab.
class TTabTyping : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Tab || key->modifiers() != Qt::ControlModifier)
            return false;
        if (auto *edit = qobject_cast<QPlainTextEdit *>(watched))
            edit->insertPlainText(QStringLiteral("\t"));
        return true;
    }
};

} // namespace

TForm_StringEdit::TForm_StringEdit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_StringEdit"));
    setWindowTitle(QStringLiteral("Strings Editor"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(422, 276);

    Panel_Strings = new QFrame(this);
    Panel_Strings->setObjectName(QStringLiteral("Panel_Strings"));
    Panel_Strings->setFrameStyle(QFrame::Panel | QFrame::Raised);
    RichEdit_Strings = new QPlainTextEdit(Panel_Strings);
    RichEdit_Strings->setObjectName(QStringLiteral("RichEdit_Strings"));
    RichEdit_Strings->setAccessibleName(QStringLiteral("Strings"));
    RichEdit_Strings->setAccessibleDescription(QStringLiteral("one item a line"));
    RichEdit_Strings->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit_Strings->setTabChangesFocus(true);
    RichEdit_Strings->installEventFilter(new TTabTyping(RichEdit_Strings));
    RichEdit_Strings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit_Strings->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit_Strings->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *stringsLayout = new QVBoxLayout(Panel_Strings);
    stringsLayout->setContentsMargins(4, 4, 4, 4);
    stringsLayout->addWidget(RichEdit_Strings);

    Panel_Buttons = new QFrame(this);
    Panel_Buttons->setObjectName(QStringLiteral("Panel_Buttons"));
    Panel_Buttons->setFixedHeight(34);
    Button_Ok = new QPushButton(QStringLiteral("OK"), Panel_Buttons);
    Button_Ok->setObjectName(QStringLiteral("Button_Ok"));
    Button_Ok->setDefault(true);
    Button_Cancel = new QPushButton(QStringLiteral("Cancel"), Panel_Buttons);
    Button_Cancel->setObjectName(QStringLiteral("Button_Cancel"));
    auto *buttonsLayout = new QHBoxLayout(Panel_Buttons);
    buttonsLayout->setContentsMargins(0, 0, 4, 0);
    buttonsLayout->addStretch(1);
    buttonsLayout->addWidget(Button_Ok);
    buttonsLayout->addWidget(Button_Cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel_Strings, 1);
    layout->addWidget(Panel_Buttons);

    connect(Button_Ok, &QPushButton::clicked, this, &TForm_StringEdit::Button_OkClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &TForm_StringEdit::Button_CancelClick);
}

void TForm_StringEdit::SetLines(const QStringList &lines)
{
    RichEdit_Strings->setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList TForm_StringEdit::Lines() const
{
    const QString text = RichEdit_Strings->toPlainText();
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line break does not make an empty last line.
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TForm_StringEdit::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_StringEdit::FormShow()
{
    setResult(ResultCancel);
    RichEdit_Strings->setFocus();
}

void TForm_StringEdit::Button_OkClick()
{
    done(ResultOK);
}

void TForm_StringEdit::Button_CancelClick()
{
    done(ResultCancel);
}

void TForm_StringEdit::reject()
{
    done(ResultCancel);
}
