#include "dialogs/HelpForm.h"

#include "dialogs/HelpMenu.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

THelpBrowser::THelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setOpenExternalLinks(true);
}

QVariant THelpBrowser::loadResource(int type, const QUrl &name)
{
    if (type == QTextDocument::HtmlResource && name.isLocalFile() && !QFileInfo(name.toLocalFile()).isFile())
        return MissingPageHtml(name.toLocalFile());
    return QTextBrowser::loadResource(type, name);
}

QString THelpBrowser::MissingPageHtml(const QString &path)
{
    return QStringLiteral("<html><body><h3>The help page could not be found.</h3><p>%1</p>"
                          "<p>Check that the help files are installed beside the program.</p></body></html>")
        .arg(QDir::toNativeSeparators(path).toHtmlEscaped());
}

TForm_HelpForm::TForm_HelpForm(QWidget *parent) : QMainWindow(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form_HelpForm"));
    resize(640, 480);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel_Top = new QWidget(central);
    Panel_Top->setObjectName(QStringLiteral("Panel_Top"));
    auto *buttons = new QHBoxLayout(Panel_Top);
    buttons->setContentsMargins(4, 4, 4, 4);
    auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, Panel_Top);
        b->setObjectName(QLatin1String(name));
        Panel_Top->layout()->addWidget(b);
        return b;
    };
    BitBtn_Topics = button("BitBtn_Topics", QStringLiteral("Help &Topics"));
    BitBtn_Back = button("BitBtn_Back", QStringLiteral("&Back"));
    BitBtn_Print = button("BitBtn_Print", QStringLiteral("&Print"));
    buttons->addStretch(1);
    BitBtn_Back->setEnabled(false);
    layout->addWidget(Panel_Top);
    HTML = new THelpBrowser(central);
    HTML->setObjectName(QStringLiteral("HTML"));
    HTML->setAccessibleName(QStringLiteral("Help Page"));
    layout->addWidget(HTML, 1);
    setCentralWidget(central);

    MenuItem_File = menuBar()->addMenu(QStringLiteral("&File"));
    MenuItem_File->setObjectName(QStringLiteral("MenuItem_File"));
    MenuItem_PrintTopic = MenuItem_File->addAction(QStringLiteral("&Print Topic"));
    MenuItem_PrintTopic->setObjectName(QStringLiteral("MenuItem_PrintTopic"));
    MenuItem_File->addSeparator();
    MenuItem_Exit = MenuItem_File->addAction(QStringLiteral("&Exit"));
    MenuItem_Exit->setObjectName(QStringLiteral("MenuItem_Exit"));

    // Escape closes the viewer as it closes any other window of the programs.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(BitBtn_Topics, &QPushButton::clicked, this, &TForm_HelpForm::BitBtn_TopicsClick);
    connect(BitBtn_Back, &QPushButton::clicked, this, &TForm_HelpForm::MenuItem_BackClick);
    connect(BitBtn_Print, &QPushButton::clicked, this, &TForm_HelpForm::BitBtn_PrintClick);
    connect(MenuItem_PrintTopic, &QAction::triggered, this, &TForm_HelpForm::BitBtn_PrintClick);
    connect(MenuItem_Exit, &QAction::triggered, this, &TForm_HelpForm::MenuItem_ExitClick);
    connect(HTML, &QTextBrowser::backwardAvailable, this, &TForm_HelpForm::HTMLCommandStateChange);

    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

TForm_HelpForm::~TForm_HelpForm() = default;

void TForm_HelpForm::showEvent(QShowEvent *event)
{
    FormShow();
    QMainWindow::showEvent(event);
}

void TForm_HelpForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TForm_HelpForm::FormShow()
{
    FNavigationPending = true;
}

void TForm_HelpForm::ShowPage()
{
    FNavigationPending = true;
    show();
    FormActivate();
    if (isMinimized())
        showNormal();
    raise();
}

void TForm_HelpForm::FormActivate()
{
    if (!FNavigationPending)
        return;
    setWindowTitle(HelpTitle(ApplicationTitle) + QStringLiteral(" Help :  ") + PageTitle);
    const QUrl page = QUrl::fromLocalFile(PagePath);
    if (HTML->source() != page)
        HTML->setSource(page);
    FNavigationPending = false;
}

void TForm_HelpForm::BitBtn_TopicsClick()
{
    if (HelpMenu) {
        static_cast<THelpSettings &>(*HelpMenu) = static_cast<const THelpSettings &>(*this);
        HelpMenu->HelpForm = this;
        HelpMenu->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        HelpMenu->Execute();
    }
    FNavigationPending = true;
}

void TForm_HelpForm::MenuItem_BackClick()
{
    if (HTML->isBackwardAvailable())
        HTML->backward();
}

void TForm_HelpForm::HTMLCommandStateChange(bool canGoBack)
{
    BitBtn_Back->setEnabled(canGoBack);
}

void TForm_HelpForm::BitBtn_PrintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    // A test answers the print dialog through the seam; its text names a PDF file to print to.
    const TShownBox box{TBoxKind::Window, QStringLiteral("Print"), PageTitle, BtnOK | BtnCancel};
    int result = ResultCancel;
    QString outputFile;
    if (TDialogSeam::Intercept(box, &result, &outputFile)) {
        if (result != ResultOK)
            return;
        if (!outputFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(outputFile);
        }
    } else {
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    PrintTo(printer);
}

bool TForm_HelpForm::PrintTo(QPrinter &printer)
{
    printer.setDocName(PageTitle);
    HTML->document()->print(&printer);
    if (printer.printerState() == QPrinter::Error) {
        ShowErrorBox(QStringLiteral("The help page could not be printed."));
        return false;
    }
    return true;
}

void TForm_HelpForm::MenuItem_ExitClick()
{
    hide();
}
