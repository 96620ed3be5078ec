#include "designer/EditMaskDialog.h"

#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

const TForm_Editmask::TSample TForm_Editmask::Samples[7] = {
    {"Phone", "(123)456-7890", "!\\(999\\)999-9999;1;"},
    {"Social Security", "123-45-6789", "999\\-99\\-9999;1;"},
    {"Short Zip Code", "12345", "99999;1;"},
    {"Long Zip Code", "12345-6789", "99999\\-9999;1;"},
    {"Date", "01/01/2000", "!99/99/9999;1;"},
    {"Long Time", "01:23:34PM", "!99:99:99>ll;1;"},
    {"Short Time", "01:23", "!99:99;1;"},
};

TForm_Editmask::TForm_Editmask(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_Editmask"));
    setWindowTitle(QStringLiteral("Input Mask Editor"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(456, 193);

    Label_InputMask = new QLabel(QStringLiteral("Input Mask: "), this);
    Label_InputMask->setObjectName(QStringLiteral("Label_InputMask"));
    Edit_InputMask = new TMaskEdit(this);
    Edit_InputMask->setObjectName(QStringLiteral("Edit_InputMask"));
    Label_SampleMask = new QLabel(QStringLiteral("Sample Masks : "), this);
    Label_SampleMask->setObjectName(QStringLiteral("Label_SampleMask"));

    StringGrid_SampleMask = new QTableWidget(0, 2, this);
    StringGrid_SampleMask->setObjectName(QStringLiteral("StringGrid_SampleMask"));
    StringGrid_SampleMask->horizontalHeader()->hide();
    StringGrid_SampleMask->verticalHeader()->hide();
    StringGrid_SampleMask->verticalHeader()->setDefaultSectionSize(16);
    StringGrid_SampleMask->verticalHeader()->setMinimumSectionSize(16);
    StringGrid_SampleMask->setColumnWidth(0, 145);
    StringGrid_SampleMask->setColumnWidth(1, 145);
    StringGrid_SampleMask->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid_SampleMask->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_SampleMask->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One Tab stop: the arrow keys move among the samples, Tab leaves.
    StringGrid_SampleMask->setTabKeyNavigation(false);
    StringGrid_SampleMask->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid_SampleMask->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid_SampleMask->setFixedWidth(2 * 145 + 2 * StringGrid_SampleMask->frameWidth());
    StringGrid_SampleMask->installEventFilter(this);
    StringGrid_SampleMask->viewport()->installEventFilter(this);

    Label_InputMask->setBuddy(Edit_InputMask);
    Label_SampleMask->setBuddy(StringGrid_SampleMask);
    StringGrid_SampleMask->setAccessibleName(QStringLiteral("Sample Masks"));

    BitBtn_Ok = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn_Ok->setObjectName(QStringLiteral("BitBtn_Ok"));
    BitBtn_Ok->setDefault(true);
    BitBtn_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    BitBtn_Cancel->setObjectName(QStringLiteral("BitBtn_Cancel"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label_InputMask, 0, 0);
    layout->addWidget(Edit_InputMask, 1, 0, Qt::AlignTop);
    layout->addWidget(Label_SampleMask, 0, 1);
    layout->addWidget(StringGrid_SampleMask, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn_Ok);
    buttons->addWidget(BitBtn_Cancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(1, 1);

    connect(BitBtn_Ok, &QPushButton::clicked, this, &TForm_Editmask::BitBtn_OkClick);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &TForm_Editmask::BitBtn_CancelClick);
}

void TForm_Editmask::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_Editmask::FormShow()
{
    setResult(ResultCancel);
    Edit_InputMask->SetEditMask(QString());
    Edit_InputMask->SetText(InputMask);
    StringGrid_SampleMask->setRowCount(7);
    for (int row = 0; row < 7; ++row) {
        StringGrid_SampleMask->setItem(row, 0, new QTableWidgetItem(QString::fromLatin1(Samples[row].Name)));
        StringGrid_SampleMask->setItem(row, 1, new QTableWidgetItem(QString::fromLatin1(Samples[row].Sample)));
    }
}

bool TForm_Editmask::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == StringGrid_SampleMask && event->type() == QEvent::KeyRelease) ||
        (watched == StringGrid_SampleMask->viewport() && event->type() == QEvent::MouseButtonRelease))
        StringGrid_SampleMaskRelease();
    return QDialog::eventFilter(watched, event);
}

void TForm_Editmask::StringGrid_SampleMaskRelease()
{
    const int row = StringGrid_SampleMask->currentRow();
    if (row >= 0 && row < 7)
        Edit_InputMask->SetText(QString::fromLatin1(Samples[row].Mask));
}

void TForm_Editmask::BitBtn_OkClick()
{
    InputMask = Edit_InputMask->Text();
    done(ResultOK);
}

void TForm_Editmask::BitBtn_CancelClick()
{
    done(ResultCancel);
}

void TForm_Editmask::reject()
{
    done(ResultCancel);
}
