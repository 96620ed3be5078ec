#pragma once

// "Align": lines up the selected controls horizontally and vertically.

#include <QDialog>

class QPushButton;
class TRadioGroup;
class TStretchHandle;

class TForm_Align : public QDialog {
    Q_OBJECT
public:
    explicit TForm_Align(TStretchHandle *handle, QWidget *parent = nullptr);

    TRadioGroup *RadioGroup_Horz = nullptr;
    TRadioGroup *RadioGroup_Vert = nullptr;
    QPushButton *BitBtn_OK = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;

    TStretchHandle *Handle;

    void FormShow();
    void BitBtn_OKClick();
    void BitBtn_CancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
};
