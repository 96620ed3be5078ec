#pragma once

#include "toolkit/ModalResult.h"

#include <QDialog>
#include <QPixmap>
#include <QStringList>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QTextDocument;

// Shows the message in the message dialog and returns the TModalResult of the button
// pressed, or ResultCancel when the window was closed any other way. dlgType is a
// TMsgDlgType (anything else counts as MsgCustom), buttons a set of TMsgButton bits.
// The help context is accepted and ignored.
int SaveMsgDialog(const QString &message, int dlgType, int buttons, int helpContext = 0);

// The message dialog's window. It is complete once constructed: buttons made, caption,
// icon and size set from the message; it can then be shown modally.
class TForm_SaveMsg : public QDialog {
    Q_OBJECT

public:
    TForm_SaveMsg(const QString &message, int dlgType, int buttons, QWidget *parent = nullptr);
    ~TForm_SaveMsg() override;

    // The code of the button pressed; ResultCancel from every showing until then.
    int ResultCode = ResultCancel;

    // The dialog type and button set as this window treats them: an unknown type is
    // MsgCustom, and a set without any known button gets OK so the window can answer.
    static int EffectiveType(int dlgType);
    static int EffectiveButtons(int buttons);
    static QString CaptionOf(int dlgType);
    static QString ProgramTitle();

    // A name typed without an extension is saved as a ".txt" file.
    static QString WithTextExtension(const QString &fileName);

    // The message split into lines at CR+LF, CR or LF; a closing line break adds no line.
    static QStringList SplitLines(const QString &message);

    const QStringList &Lines() const { return FLines; }
    int ButtonRowWidth() const;
    // The number of lines the message takes when wrapped at the given text width.
    int WrappedLineCount(int width) const;
    // The height of one text line in the sizing of the window.
    int LineHeight() const;

    void Copy();
    void Save();
    void Print();

    // The hidden word-wrapping document that Print sends to the printer: the program's
    // title line above the message, in the text area's face at 10 points.
    std::unique_ptr<QTextDocument> CreatePrintDocument() const;
    // Prints that document; false (after reporting it) when the printer failed.
    bool PrintTo(QPrinter &printer);

    QWidget *Panel1 = nullptr;
    QWidget *Panel_Left = nullptr;
    QWidget *Panel_Bottom = nullptr;
    QWidget *Panel_Buttons = nullptr;
    QWidget *Panel_Image = nullptr;
    QLabel *Image = nullptr;
    QPlainTextEdit *RichEdit = nullptr;
    QLabel *Label_Size = nullptr;
    QList<QPushButton *> Buttons; // in their order in the row

    QPixmap Image_Warning;
    QPixmap Image_Error;
    QPixmap Image_Info;
    QPixmap Image_Confirm;
    QPixmap Image_Clear;

    // The main menu; its File entry is hidden, its commands still answer their keys.
    QMenuBar *MainMenu = nullptr;
    QMenu *MenuItem_File = nullptr;
    QAction *MenuItem_Copy = nullptr;
    QAction *MenuItem_Save = nullptr;
    QAction *MenuItem_Print = nullptr;
    QAction *MenuItem_Close = nullptr;

    // The text area's context menu stands in for the window menu's entries.
    QMenu *PopupMenu_Text = nullptr;
    QAction *PopupItem_Copy = nullptr;
    QAction *PopupItem_Save = nullptr;
    QAction *PopupItem_Print = nullptr;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void CreateButtons(int buttons);
    void SetDialogType(int dlgType);
    void SizeToMessage();
    void ArrangePanels();
    void CentreButtonRow();
    void RefitScrollBars();
    void CentreOnScreen();
    void AnswerClick(int result);
    void RichEditContextMenu(const QPoint &pos);
    QPushButton *FindButton(int result) const;
    QPushButton *EnterButton() const;
    QPushButton *EscapeButton() const;

    QStringList FLines;
};
