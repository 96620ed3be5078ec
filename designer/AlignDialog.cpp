#include "designer/AlignDialog.h"

#include "designer/StretchHandle.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdCtrls.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

TRadioGroup *ChoiceGroup(QWidget *parent, const char *name, const QString &caption, const QString &second)
{
    auto *group = new TRadioGroup(parent);
    group->setObjectName(QLatin1String(name));
    group->SetCaption(caption);
    group->Items()->Assign(QStringList{QStringLiteral("No Change"), second, QStringLiteral("Space Equally"),
                                       QStringLiteral("Center In Window")});
    group->SetItemIndex(0);
    return group;
}

} // namespace

TForm_Align::TForm_Align(TStretchHandle *handle, QWidget *parent) : QDialog(parent), Handle(handle)
{
    setObjectName(QStringLiteral("Form_Align"));
    setWindowTitle(QStringLiteral("Align"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(324, 135);

    RadioGroup_Horz = ChoiceGroup(this, "RadioGroup_Horz", QStringLiteral("Horizontal"), QStringLiteral("Left Sides"));
    RadioGroup_Vert = ChoiceGroup(this, "RadioGroup_Vert", QStringLiteral("Vertical"), QStringLiteral("Tops"));
    BitBtn_OK = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn_OK->setObjectName(QStringLiteral("BitBtn_OK"));
    BitBtn_OK->setDefault(true);
    BitBtn_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    BitBtn_Cancel->setObjectName(QStringLiteral("BitBtn_Cancel"));

    auto *layout = new QVBoxLayout(this);
    auto *groups = new QHBoxLayout;
    groups->addWidget(RadioGroup_Horz);
    groups->addWidget(RadioGroup_Vert);
    layout->addLayout(groups, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn_OK);
    buttons->addWidget(BitBtn_Cancel);
    layout->addLayout(buttons);

    connect(BitBtn_OK, &QPushButton::clicked, this, &TForm_Align::BitBtn_OKClick);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &TForm_Align::BitBtn_CancelClick);
}

void TForm_Align::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_Align::FormShow()
{
    RadioGroup_Horz->SetItemIndex(0);
    RadioGroup_Vert->SetItemIndex(0);
}

void TForm_Align::BitBtn_OKClick()
{
    if (Handle) {
        switch (RadioGroup_Horz->ItemIndex()) {
        case 1:
            Handle->AlignLeftSides();
            break;
        case 2:
            Handle->SpaceEquallyHorizontally();
            break;
        case 3:
            Handle->CenterHorizontally();
            break;
        default:
            break;
        }
        switch (RadioGroup_Vert->ItemIndex()) {
        case 1:
            Handle->AlignTops();
            break;
        case 2:
            Handle->SpaceEquallyVertically();
            break;
        case 3:
            Handle->CenterVertically();
            break;
        default:
            break;
        }
    }
    done(ResultOK);
}

void TForm_Align::BitBtn_CancelClick()
{
    done(ResultCancel);
}

void TForm_Align::reject()
{
    done(ResultCancel);
}
