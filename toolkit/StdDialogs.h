#pragma once

#include "toolkit/Graphics.h"

#include <QList>
#include <QString>

class QWidget;

// Every message box, confirmation, error box, input box, file dialog and the
// message dialog go through this seam. In normal use the boxes are shown. A test
// turns on scripting: then no box is ever shown, every box is recorded, and each one
// takes the next queued answer (or, with none queued, the answer of Escape).
enum class TBoxKind { Message, Confirmation, Error, Input, OpenFile, SaveFile, MessageDialog, Window };

struct TShownBox {
    TBoxKind Kind = TBoxKind::Message;
    QString Caption;
    QString Text;
    int Buttons = 0; // TMsgButton bits where the box offers a choice
    int DlgType = -1; // TMsgDlgType of the message dialog
};

class TDialogSeam {
public:
    static void BeginScript();
    static void EndScript();
    static bool Scripting();

    // Queue the answer of the next box: a modal result code, and the text an input
    // box or file dialog hands back.
    static void SetNextAnswer(int result, const QString &text = QString());
    static int PendingAnswers();

    static const QList<TShownBox> &Shown();
    static QString LastText();
    static void ClearShown();

    // For the wrappers: records the box. While scripting, fills in the answer and
    // returns true; the caller must then not show anything.
    static bool Intercept(const TShownBox &box, int *result, QString *text = nullptr);
};

// The toolkit's plain message box: the text and an OK button.
void ShowMessage(const QString &text);

// The standard confirmation box with the given TMsgButton bits; returns a TModalResult.
int ConfirmBox(const QString &text, int buttons);

// The standard error box (error icon, OK) for errors that no handler caught.
void ShowErrorBox(const QString &text);

// One-line input box. Returns false when cancelled; value keeps the typed text.
bool InputQuery(const QString &caption, const QString &prompt, QString &value);

// File dialogs; an empty result means cancelled.
QString OpenFileDialog(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
QString SaveFileDialog(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);

// The font dialog (the inspector's "Font" row). In scripted tests it goes through the dialog seam
// (kind Window, caption "Font"); the answer's text is a QFont description.
class QFontDialog;

class TFontDialog {
public:
    TFont Font;
    // The colour-and-effects part is offered.
    bool Effects = true;
    // True when a font was chosen; Font then holds it.
    bool Execute(QWidget *parent);
    // The dialog Execute shows, not yet shown; its colour list is named "ComboBox_Color".
    QFontDialog *Build(QWidget *parent) const;
};
