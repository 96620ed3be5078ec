#include "toolkit/MaskEdit.h"

#include "toolkit/EditMask.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace {

// Lengths of the unchanged start and end of two texts, not overlapping.
void CommonEnds(const QString &a, const QString &b, qsizetype &prefix, qsizetype &suffix)
{
    prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a.at(prefix) == b.at(prefix))
        ++prefix;
    suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a.at(a.size() - 1 - suffix) == b.at(b.size() - 1 - suffix))
        ++suffix;
}

} // namespace

struct TMaskEdit::TPrivate {
    TEditMask Mask;
    QString Edit; // the text as last shown by us
    TEditCharCase CharCase = ecNormal;
    int MaxLength = 0;
    QChar PasswordChar;
    bool AutoSelect = true;
    bool Updating = false;
};

TMaskEdit::TMaskEdit(QWidget *parent) : QLineEdit(parent), d(new TPrivate)
{
    connect(this, &QLineEdit::textChanged, this, &TMaskEdit::LineTextChanged);
    connect(this, &QLineEdit::cursorPositionChanged, this, &TMaskEdit::LineCursorMoved);
}

TMaskEdit::~TMaskEdit()
{
    delete d;
}

QString TMaskEdit::EditMask() const
{
    return d->Mask.Mask();
}

void TMaskEdit::SetEditMask(const QString &mask)
{
    // The value survives a change of mask, laid out anew.
    const QString value = Text();
    d->Mask.SetMask(mask);
    if (d->Mask.IsMasked()) {
        ShowText(d->Mask.EditTextOf(ApplyCharCase(value)), d->Mask.NextInput(0));
    } else {
        const QString text = ApplyCharCase(value);
        ShowText(text, int(text.size()));
    }
}

QString TMaskEdit::Text() const
{
    return d->Mask.IsMasked() ? d->Mask.Value(d->Edit) : QLineEdit::text();
}

void TMaskEdit::SetText(const QString &text)
{
    const QString value = ApplyCharCase(text);
    if (d->Mask.IsMasked())
        ShowText(d->Mask.EditTextOf(value), d->Mask.NextInput(0));
    else
        ShowText(value, int(value.size()));
}

QString TMaskEdit::EditText() const
{
    return d->Mask.IsMasked() ? d->Edit : QLineEdit::text();
}

TEditCharCase TMaskEdit::CharCase() const
{
    return d->CharCase;
}

void TMaskEdit::SetCharCase(TEditCharCase value)
{
    d->CharCase = value;
    if (!d->Mask.IsMasked()) {
        const QString converted = ApplyCharCase(QLineEdit::text());
        if (converted != QLineEdit::text())
            ShowText(converted, cursorPosition());
    }
}

int TMaskEdit::MaxLength() const
{
    return d->MaxLength;
}

void TMaskEdit::SetMaxLength(int value)
{
    d->MaxLength = qMax(0, value);
}

QChar TMaskEdit::PasswordChar() const
{
    return d->PasswordChar;
}

void TMaskEdit::SetPasswordChar(QChar value)
{
    d->PasswordChar = value;
    setEchoMode(value.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

bool TMaskEdit::AutoSelect() const
{
    return d->AutoSelect;
}

void TMaskEdit::SetAutoSelect(bool value)
{
    d->AutoSelect = value;
}

void TMaskEdit::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    // Ctrl or Meta make a command; Ctrl+Alt is AltGr on some keyboards.
    const bool command = ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier)) ||
                         (modifiers & Qt::MetaModifier);
    bool printable = !typed.isEmpty() && !command;
    for (QChar c : typed)
        printable = printable && c.isPrint();

    if (!d->Mask.IsMasked()) {
        const QString converted = printable ? ApplyCharCase(typed) : typed;
        if (converted == typed || isReadOnly()) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        QKeyEvent convertedEvent(event->type(), event->key(), modifiers, converted, event->isAutoRepeat(),
                                 quint16(event->count()));
        QLineEdit::keyPressEvent(&convertedEvent);
        event->setAccepted(convertedEvent.isAccepted());
        return;
    }

    // Clipboard, undo and selection commands go through QLineEdit and come back
    // through LineTextChanged.
    if (isReadOnly() || event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste) ||
        event->matches(QKeySequence::Copy)) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    const bool plainKey = (modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
    if (plainKey && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
        QString edit = d->Edit;
        int cursor = cursorPosition();
        if (hasSelectedText()) {
            cursor = selectionStart();
            d->Mask.Clear(edit, cursor, cursor + selectionLength());
        } else if (event->key() == Qt::Key_Backspace) {
            cursor = d->Mask.Backspace(edit, cursor);
        } else {
            cursor = d->Mask.Delete(edit, cursor);
        }
        ShowText(edit, cursor);
        event->accept();
        return;
    }

    if (printable) {
        QString edit = d->Edit;
        int cursor = cursorPosition();
        if (hasSelectedText()) {
            cursor = selectionStart();
            d->Mask.Clear(edit, cursor, cursor + selectionLength());
        }
        bool accepted = false;
        for (QChar c : ApplyCharCase(typed)) {
            const int next = d->Mask.TypeChar(edit, cursor, c);
            if (next < 0)
                break;
            cursor = next;
            accepted = true;
        }
        // A rejected character changes nothing, not even the selection.
        if (accepted)
            ShowText(edit, cursor);
        event->accept();
        return;
    }

    QLineEdit::keyPressEvent(event);
}

void TMaskEdit::focusInEvent(QFocusEvent *event)
{
    const int cursor = cursorPosition();
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    // A click places the cursor itself; coming back from a popup or another
    // window keeps the selection the user had.
    if (reason == Qt::MouseFocusReason || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    if (d->AutoSelect)
        selectAll();
    else if (hasSelectedText())
        setCursorPosition(cursor);
}

void TMaskEdit::ShowText(const QString &text, int cursor)
{
    if (d->Mask.IsMasked() && d->Mask.IsLiteral(cursor))
        cursor = d->Mask.NextInput(cursor);
    d->Updating = true;
    if (QLineEdit::text() != text)
        QLineEdit::setText(text);
    setCursorPosition(cursor);
    d->Updating = false;
    if (text != d->Edit) {
        d->Edit = text;
        emit Change();
    }
}

void TMaskEdit::LineTextChanged(const QString &text)
{
    if (d->Updating)
        return;
    const QString old = d->Edit;
    qsizetype prefix = 0;
    qsizetype suffix = 0;
    if (!d->Mask.IsMasked()) {
        QString result = ApplyCharCase(text);
        int cursor = cursorPosition();
        // Typed or pasted text is cut to the room MaxLength leaves; a longer text
        // set by the program stays whole.
        if (d->MaxLength > 0 && result.size() > d->MaxLength && result.size() > old.size()) {
            CommonEnds(old, result, prefix, suffix);
            const qsizetype inserted = result.size() - suffix - prefix;
            const qsizetype room = qBound(qsizetype(0), d->MaxLength - (result.size() - inserted), inserted);
            result.remove(prefix + room, inserted - room);
            cursor = int(prefix + room);
        }
        if (result != text) {
            ShowText(result, cursor);
        } else if (text != old) {
            d->Edit = text;
            emit Change();
        }
        return;
    }

    // Work out what was removed and what was put in its place, then redo that
    // change through the mask.
    CommonEnds(old, text, prefix, suffix);
    QString edit = old;
    d->Mask.Clear(edit, int(prefix), int(old.size() - suffix));
    const QString inserted = text.mid(prefix, text.size() - suffix - prefix);
    int cursor = int(prefix);
    if (!inserted.isEmpty())
        cursor = d->Mask.Paste(edit, cursor, ApplyCharCase(inserted));
    ShowText(edit, cursor);
}

void TMaskEdit::LineCursorMoved(int oldPos, int newPos)
{
    if (d->Updating || !d->Mask.IsMasked() || hasSelectedText())
        return;
    if (newPos >= d->Mask.Length() || !d->Mask.IsLiteral(newPos))
        return;
    int target = d->Mask.NextInput(newPos);
    if (newPos < oldPos) {
        // Moving left over a literal lands before the input position ahead of it.
        const int before = d->Mask.PrevInput(newPos);
        if (before >= 0)
            target = before;
    }
    if (target != newPos)
        setCursorPosition(target);
}

QString TMaskEdit::ApplyCharCase(const QString &text) const
{
    if (d->CharCase == ecNormal)
        return text;
    // Character by character, so that the length never changes.
    QString converted = text;
    for (QChar &c : converted)
        c = d->CharCase == ecUpperCase ? c.toUpper() : c.toLower();
    return converted;
}
