#include "toolkit/ListWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

QWidget *OkCancelPanel(QWidget *parent, QPushButton **ok, QPushButton **cancel, const QMargins &margins, int height)
{
    auto panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("Panel_Bottom"));
    if (height > 0)
        panel->setFixedHeight(height);
    *ok = new QPushButton(QStringLiteral("OK"), panel);
    (*ok)->setObjectName(QStringLiteral("Button_OK"));
    (*ok)->setDefault(true);
    (*ok)->setEnabled(false);
    *cancel = new QPushButton(QStringLiteral("Cancel"), panel);
    (*cancel)->setObjectName(QStringLiteral("Button_Cancel"));
    (*cancel)->setAutoDefault(false);
    auto layout = new QHBoxLayout(panel);
    layout->setContentsMargins(margins);
    layout->addStretch();
    layout->addWidget(*ok);
    layout->addWidget(*cancel);
    return panel;
}

QVBoxLayout *StackListPanels(QWidget *form, QWidget *top, QWidget *list, QWidget *bottom, const QMargins &listMargins)
{
    auto layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    auto middle = new QVBoxLayout;
    middle->setContentsMargins(listMargins);
    middle->addWidget(list);
    layout->addLayout(middle, 1);
    layout->addWidget(bottom);
    return layout;
}
