#pragma once

#include <QLineEdit>

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// A one-line edit box with an edit mask in this system's mask syntax:
//   mask characters ; save-literals field (1 or 0) ; blank character
// Text() delivers what the user typed as the mask says: with the literal characters
// of the mask only when the save-literals field is 1 (or absent).
class TMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaskEdit(QWidget *parent = nullptr);
    ~TMaskEdit() override;

    QString EditMask() const;
    void SetEditMask(const QString &mask);

    // The value: the typed text as the mask delivers it (the whole text without a mask).
    QString Text() const;
    void SetText(const QString &text);
    // What the box shows, blanks and literals included.
    QString EditText() const;

    TEditCharCase CharCase() const;
    void SetCharCase(TEditCharCase value);

    int MaxLength() const;
    void SetMaxLength(int value);
    QChar PasswordChar() const; // #0 when none
    void SetPasswordChar(QChar value);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    bool AutoSelect() const;
    void SetAutoSelect(bool value);

signals:
    // The text changed, by typing or by a setter.
    void Change();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // Shows the text with the cursor at the position; Change when the text changed.
    void ShowText(const QString &text, int cursor);
    // Edits that bypass the key handling (context menu, drops, input methods, the
    // paste and insert slots) are brought back to the mask here.
    void LineTextChanged(const QString &text);
    // Keeps the cursor off the mask's literals.
    void LineCursorMoved(int oldPos, int newPos);
    QString ApplyCharCase(const QString &text) const;

    struct TPrivate;
    TPrivate *d;
};
