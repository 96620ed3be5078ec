#include "dialogs/HelpMenu.h"

#include "dialogs/FontGrowth.h"
#include "dialogs/HelpForm.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

TForm_HelpMenu::TForm_HelpMenu(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form_HelpMenu"));
    setWindowTitle(QStringLiteral("Help Topics"));
    setFixedSize(439, 391);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setGeometry(8, 8, 423, 336);
    TabSheet_Index = new QWidget;
    TabSheet_Index->setObjectName(QStringLiteral("TabSheet_Index"));
    PageControl->addTab(TabSheet_Index, QStringLiteral("Index"));

    Label_Click = new QLabel(QStringLiteral("Click the index entry you want and then click Display"), TabSheet_Index);
    Label_Click->setObjectName(QStringLiteral("Label_Click"));
    Label_Click->setGeometry(28, 8, 375, 20);
    ListBox_Help = new QListWidget(TabSheet_Index);
    ListBox_Help->setObjectName(QStringLiteral("ListBox_Help"));
    ListBox_Help->setGeometry(28, 32, 375, 264);
    ListBox_Help->setAccessibleName(QStringLiteral("Index"));

    BitBtn_Display = new QPushButton(QStringLiteral("&Display"), this);
    BitBtn_Display->setObjectName(QStringLiteral("BitBtn_Display"));
    BitBtn_Display->setDefault(true);
    BitBtn_Display->setGeometry(264, 352, 80, 28);
    BitBtn_Close = new QPushButton(QStringLiteral("&Close"), this);
    BitBtn_Close->setObjectName(QStringLiteral("BitBtn_Close"));
    BitBtn_Close->setGeometry(351, 352, 80, 28);

    connect(BitBtn_Display, &QPushButton::clicked, this, &TForm_HelpMenu::BitBtn_DisplayClick);
    connect(ListBox_Help, &QListWidget::itemDoubleClicked, this, &TForm_HelpMenu::BitBtn_DisplayClick);
    connect(BitBtn_Close, &QPushButton::clicked, this, &TForm_HelpMenu::BitBtn_CloseClick);
    GrowWithFont(this);
}

TForm_HelpMenu::~TForm_HelpMenu() = default;

void TForm_HelpMenu::Execute()
{
    const TShownBox box{TBoxKind::Window,
                        QStringLiteral("Help Topics: ") + HelpTitle(ApplicationTitle) + QStringLiteral(" Help"),
                        HelpFiles.join(QLatin1Char('\n')), BtnOK};
    if (TDialogSeam::Scripting()) {
        FormShow();
        TDialogSeam::Intercept(box, nullptr);
        return;
    }
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    exec();
}

void TForm_HelpMenu::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TForm_HelpMenu::FormShow()
{
    SplitHelpEntries(HelpFiles, Titles, FileNames);
    // Sorted as a sorted list box sorts: ignoring letter case, whatever the locale.
    QStringList sorted = Titles;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    ListBox_Help->clear();
    ListBox_Help->addItems(sorted);
    if (ListBox_Help->count() > 0)
        ListBox_Help->setCurrentRow(0);
    setWindowTitle(QStringLiteral("Help Topics: ") + HelpTitle(ApplicationTitle) + QStringLiteral(" Help"));
}

void TForm_HelpMenu::BitBtn_DisplayClick()
{
    const QListWidgetItem *item = ListBox_Help->currentItem();
    if (item && item->isSelected()) {
        const qsizetype a = Titles.indexOf(item->text());
        if (a >= 0 && HelpForm) {
            HelpForm->PagePath = HelpPagePath(HelpFilePath, SubDirectory, FileNames.at(a));
            HelpForm->PageTitle = Titles.at(a);
            HelpForm->ApplicationTitle = ApplicationTitle;
            HelpForm->ShowPage();
        }
    }
    BitBtn_CloseClick();
}

void TForm_HelpMenu::BitBtn_CloseClick()
{
    // Hidden, not destroyed: the window stays for the next use.
    done(QDialog::Accepted);
    hide();
}
