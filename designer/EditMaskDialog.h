#pragma once

// "Input Mask Editor": a mask typed or taken from seven samples. The caller uses
// InputMask only after OK.

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
class TMaskEdit;

class TForm_Editmask : public QDialog {
    Q_OBJECT
public:
    explicit TForm_Editmask(QWidget *parent = nullptr);

    // Name, sample and mask of each sample row.
    struct TSample {
        const char *Name;
        const char *Sample;
        const char *Mask;
    };
    static const TSample Samples[7];

    QLabel *Label_InputMask = nullptr;
    TMaskEdit *Edit_InputMask = nullptr;
    QLabel *Label_SampleMask = nullptr;
    QTableWidget *StringGrid_SampleMask = nullptr;
    QPushButton *BitBtn_Ok = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;

    // The chosen mask, set by OK. Set before showing, it is the mask the box opens on,
    // so that OK without a change keeps the mask the control has.
    QString InputMask;
    int ModalResult() const { return result(); }

    void FormShow();
    // Key or mouse release in the sample grid.
    void StringGrid_SampleMaskRelease();
    void BitBtn_OkClick();
    void BitBtn_CancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;
};
