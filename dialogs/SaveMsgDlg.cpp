#include "dialogs/SaveMsgDlg.h"

#include "dialogs/FontGrowth.h"
#include "toolkit/StdDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace {

const int TopHeight = 17;
const int BottomHeight = 36;
const int LeftWidth = 47;
const int CustomLeftWidth = 20;
const int MinLineHeight = 13;
const int ButtonWidth = 75;
const int ButtonHeight = 25;
const int ButtonTop = 4;
const int ButtonGap = 2;
const int MaxClientWidth = 640;
const int MaxClientHeight = 480;
// Room left on the screen for the window manager's title bar and borders.
const int FrameAllowanceWidth = 16;
const int FrameAllowanceHeight = 48;

const QString TextFilter = QStringLiteral("Text Files (*.txt)");

struct TButtonDef {
    int Bit;
    const char *Caption;
    int Result;
    const char *Name;
};

// The fixed order of the buttons in the row, whatever order the caller thinks of.
const TButtonDef ButtonDefs[] = {
    {BtnOK, "OK", ResultOK, "Button_OK"},
    {BtnYes, "&Yes", ResultYes, "Button_Yes"},
    {BtnNo, "&No", ResultNo, "Button_No"},
    {BtnCancel, "Cancel", ResultCancel, "Button_Cancel"},
    {BtnAbort, "Abort", ResultAbort, "Button_Abort"},
    {BtnRetry, "&Retry", ResultRetry, "Button_Retry"},
    {BtnIgnore, "&Ignore", ResultIgnore, "Button_Ignore"},
    {BtnAll, "&All", ResultAll, "Button_All"},
};

const int KnownButtons = BtnYes | BtnNo | BtnOK | BtnCancel | BtnAbort | BtnRetry | BtnIgnore | BtnAll;

QPixmap StandardPicture(QStyle *style, QStyle::StandardPixmap which)
{
    const int size = style->pixelMetric(QStyle::PM_MessageBoxIconSize);
    return style->standardIcon(which).pixmap(std::min(size, 32));
}

} // namespace

int SaveMsgDialog(const QString &message, int dlgType, int buttons, int helpContext)
{
    Q_UNUSED(helpContext);
    const int type = TForm_SaveMsg::EffectiveType(dlgType);
    const int shown = TForm_SaveMsg::EffectiveButtons(buttons);
    TShownBox box{TBoxKind::MessageDialog, TForm_SaveMsg::CaptionOf(type), message, shown, type};
    int result = ResultCancel;
    if (TDialogSeam::Intercept(box, &result))
        return result;

    TForm_SaveMsg form(message, type, shown);
    form.exec();
    return form.ResultCode & 0xFFFF;
}

TForm_SaveMsg::TForm_SaveMsg(const QString &message, int dlgType, int buttons, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      FLines(SplitLines(message))
{
    setObjectName(QStringLiteral("Form_SaveMsg"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel_Left = new QWidget(this);
    Panel_Left->setObjectName(QStringLiteral("Panel_Left"));
    Panel_Bottom = new QWidget(this);
    Panel_Bottom->setObjectName(QStringLiteral("Panel_Bottom"));
    Panel_Buttons = new QWidget(Panel_Bottom);
    Panel_Buttons->setObjectName(QStringLiteral("Panel_Buttons"));
    // Lets the focus rest on the row when there is no default button to hold it.
    Panel_Buttons->setFocusPolicy(Qt::ClickFocus);

    RichEdit = new QPlainTextEdit(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setReadOnly(true);
    RichEdit->setFrameShape(QFrame::NoFrame);
    // Lines wider than the window wrap (a long word anywhere): a message never hides
    // the end of its lines behind a sideways scroll bar.
    RichEdit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    RichEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The text area never takes the focus, so it never shows a caret.
    RichEdit->setFocusPolicy(Qt::NoFocus);
    RichEdit->setBackgroundRole(QPalette::Window);
    RichEdit->viewport()->setBackgroundRole(QPalette::Window);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setFixedPitch(true); // requested; the platform's dialog face may not have it
    font.setPointSize(8);
    RichEdit->setFont(font);
    RichEdit->setContextMenuPolicy(Qt::CustomContextMenu);

    Label_Size = new QLabel(this);
    Label_Size->setObjectName(QStringLiteral("Label_Size"));
    Label_Size->setFont(RichEdit->font());
    Label_Size->hide();

    Panel_Image = new QWidget(this);
    Panel_Image->setObjectName(QStringLiteral("Panel_Image"));
    Panel_Image->setGeometry(6, 11, 36, 37);
    Image = new QLabel(Panel_Image);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(0, 0, 36, 37);
    Image->setAlignment(Qt::AlignCenter);

    Image_Warning = StandardPicture(style(), QStyle::SP_MessageBoxWarning);
    Image_Error = StandardPicture(style(), QStyle::SP_MessageBoxCritical);
    Image_Info = StandardPicture(style(), QStyle::SP_MessageBoxInformation);
    Image_Confirm = StandardPicture(style(), QStyle::SP_MessageBoxQuestion);

    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    MainMenu->setNativeMenuBar(false); // never exported to a desktop-wide menu
    MenuItem_File = MainMenu->addMenu(QStringLiteral("&File"));
    MenuItem_File->setObjectName(QStringLiteral("MenuItem_File"));
    MenuItem_Copy = MenuItem_File->addAction(QStringLiteral("Copy"));
    MenuItem_Copy->setObjectName(QStringLiteral("MenuItem_Copy"));
    MenuItem_Copy->setShortcut(QKeySequence::Copy);
    MenuItem_File->addSeparator();
    MenuItem_Save = MenuItem_File->addAction(QStringLiteral("&Save..."));
    MenuItem_Save->setObjectName(QStringLiteral("MenuItem_Save"));
    MenuItem_Save->setShortcut(QKeySequence::Save);
    MenuItem_Print = MenuItem_File->addAction(QStringLiteral("&Print..."));
    MenuItem_Print->setObjectName(QStringLiteral("MenuItem_Print"));
    MenuItem_Print->setShortcut(QKeySequence::Print);
    MenuItem_File->addSeparator();
    MenuItem_Close = MenuItem_File->addAction(QStringLiteral("&Close"));
    MenuItem_Close->setObjectName(QStringLiteral("MenuItem_Close"));
    MenuItem_File->menuAction()->setVisible(false);
    MainMenu->hide();
    // The window holds the commands too, so their keys work with the menu hidden.
    addActions({MenuItem_Copy, MenuItem_Save, MenuItem_Print});

    PopupMenu_Text = new QMenu(this);
    PopupMenu_Text->setObjectName(QStringLiteral("PopupMenu_Text"));
    auto popupItem = [this](const QString &caption, QKeySequence::StandardKey key, const QString &name) {
        const QString keyText = QKeySequence(key).toString(QKeySequence::NativeText);
        QAction *action = PopupMenu_Text->addAction(caption + QLatin1Char('\t') + keyText);
        action->setObjectName(name);
        return action;
    };
    PopupItem_Copy = popupItem(QStringLiteral("&Copy"), QKeySequence::Copy, QStringLiteral("PopupItem_Copy"));
    PopupItem_Save = popupItem(QStringLiteral("&Save"), QKeySequence::Save, QStringLiteral("PopupItem_Save"));
    PopupItem_Print = popupItem(QStringLiteral("&Print"), QKeySequence::Print, QStringLiteral("PopupItem_Print"));

    connect(MenuItem_Copy, &QAction::triggered, this, &TForm_SaveMsg::Copy);
    connect(MenuItem_Save, &QAction::triggered, this, &TForm_SaveMsg::Save);
    connect(MenuItem_Print, &QAction::triggered, this, &TForm_SaveMsg::Print);
    connect(MenuItem_Close, &QAction::triggered, this, &TForm_SaveMsg::close);
    connect(PopupItem_Copy, &QAction::triggered, this, &TForm_SaveMsg::Copy);
    connect(PopupItem_Save, &QAction::triggered, this, &TForm_SaveMsg::Save);
    connect(PopupItem_Print, &QAction::triggered, this, &TForm_SaveMsg::Print);
    connect(RichEdit, &QPlainTextEdit::customContextMenuRequested, this, &TForm_SaveMsg::RichEditContextMenu);

    CreateButtons(EffectiveButtons(buttons));
    SetDialogType(dlgType);
    SizeToMessage();
    ArrangePanels();
    CentreOnScreen();
}

TForm_SaveMsg::~TForm_SaveMsg() = default;

int TForm_SaveMsg::EffectiveType(int dlgType)
{
    return dlgType >= MsgWarning && dlgType <= MsgConfirm ? dlgType : MsgCustom;
}

int TForm_SaveMsg::EffectiveButtons(int buttons)
{
    const int known = buttons & KnownButtons;
    return known ? known : int(BtnOK);
}

QString TForm_SaveMsg::CaptionOf(int dlgType)
{
    switch (EffectiveType(dlgType)) {
    case MsgWarning:
        return QStringLiteral("Warning");
    case MsgError:
        return QStringLiteral("Error");
    case MsgInformation:
        return QStringLiteral("Information");
    case MsgConfirm:
        return QStringLiteral("Confirm");
    default:
        return ProgramTitle();
    }
}

QString TForm_SaveMsg::ProgramTitle()
{
    // applicationDisplayName falls back to the application name when none is set.
    return QGuiApplication::applicationDisplayName();
}

QString TForm_SaveMsg::WithTextExtension(const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName.endsWith(QLatin1Char('.')) ? fileName + QStringLiteral("txt") : fileName + QStringLiteral(".txt");
}

QStringList TForm_SaveMsg::SplitLines(const QString &message)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = message.split(lineBreak);
    // "a\r\n" is one line and "" none, as a string list reads its text.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int TForm_SaveMsg::LineHeight() const
{
    // A face taller than the usual 13-pixel line gets its own height, so no line is cut.
    return std::max(MinLineHeight, QFontMetrics(Label_Size->font()).lineSpacing());
}

int TForm_SaveMsg::WrappedLineCount(int width) const
{
    // Laid out as the text area lays out its lines: its font, wrapping at word boundaries
    // or, for a word wider than the line, anywhere.
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal lineWidth = std::max(width, 1);
    qint64 count = 0;
    for (const QString &line : FLines) {
        QTextLayout layout(line, RichEdit->font());
        layout.setTextOption(option);
        layout.beginLayout();
        int lines = 0;
        for (QTextLine textLine = layout.createLine(); textLine.isValid(); textLine = layout.createLine()) {
            textLine.setLineWidth(lineWidth);
            ++lines;
        }
        layout.endLayout();
        count += std::max(lines, 1);
        if (count > 100)
            break; // far past the height at which the text scrolls
    }
    return int(count);
}

int TForm_SaveMsg::ButtonRowWidth() const
{
    return Panel_Buttons->width();
}

void TForm_SaveMsg::CreateButtons(int buttons)
{
    // The classic 75 by 25 pixels, grown with a larger font.
    const int buttonWidth = Grown(this, ButtonWidth);
    int lastLeft = -1;
    for (const TButtonDef &def : ButtonDefs) {
        if (!(buttons & def.Bit))
            continue;
        auto *button = new QPushButton(QString::fromLatin1(def.Caption), Panel_Buttons);
        button->setObjectName(QString::fromLatin1(def.Name));
        const int left = lastLeft < 0 ? ButtonGap : lastLeft + buttonWidth + ButtonGap;
        button->setGeometry(left, Grown(this, ButtonTop), buttonWidth, Grown(this, ButtonHeight));
        lastLeft = left;
        const int result = def.Result;
        connect(button, &QPushButton::clicked, this, [this, result] { AnswerClick(result); });
        Buttons.append(button);
    }
    if (QPushButton *enter = EnterButton())
        enter->setDefault(true);
    const int rowWidth = Buttons.isEmpty() ? 0 : lastLeft + buttonWidth + 4;
    Panel_Buttons->resize(rowWidth, Grown(this, BottomHeight));
}

void TForm_SaveMsg::SetDialogType(int dlgType)
{
    setWindowTitle(CaptionOf(dlgType));
    switch (EffectiveType(dlgType)) {
    case MsgWarning:
        Image->setPixmap(Image_Warning);
        break;
    case MsgError:
        Image->setPixmap(Image_Error);
        break;
    case MsgInformation:
        Image->setPixmap(Image_Info);
        break;
    case MsgConfirm:
        Image->setPixmap(Image_Confirm);
        break;
    default:
        Image->setPixmap(Image_Clear);
        Panel_Image->hide();
        Panel_Left->resize(CustomLeftWidth, Panel_Left->height());
        return;
    }
    Panel_Left->resize(LeftWidth, Panel_Left->height());
}

void TForm_SaveMsg::SizeToMessage()
{
    RichEdit->setPlainText(FLines.join(QLatin1Char('\n')));

    int maxWidth = MaxClientWidth;
    int maxHeight = MaxClientHeight;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        maxWidth = std::min(maxWidth, available.width() - FrameAllowanceWidth);
        maxHeight = std::min(maxHeight, available.height() - FrameAllowanceHeight);
    }
    maxWidth = std::max(maxWidth, 1);
    maxHeight = std::max(maxHeight, 1);
    // The widest the text may make the window: 632, or less on a narrow screen.
    const int textWidthCap = std::min(632, maxWidth);

    QSize client(textWidthCap, 206);
    if (FLines.isEmpty()) {
        client = QSize(220, 100);
    } else {
        const QFontMetrics metrics(Label_Size->font());
        const int margin = Panel_Left->width() + 20;
        int widest = 0;
        for (const QString &line : FLines) {
            widest = std::max(widest, metrics.horizontalAdvance(line) + margin);
            if (widest > textWidthCap)
                break; // the width is capped anyway; spares measuring the rest of a huge text
        }
        if (widest < 200)
            client.setWidth(220);
        else if (widest <= textWidthCap)
            client.setWidth(widest);

        // The height counts the lines as they are wrapped at the window's width (a pixel
        // or two short of it, so that no line is counted short and then hidden).
        const int wrapWidth = client.width() - Panel_Left->width() - 2 * int(RichEdit->document()->documentMargin()) -
                              2;
        const qint64 height = qint64(LineHeight()) * WrappedLineCount(wrapWidth) + Grown(this, BottomHeight) + 30;
        if (height < 446)
            client.setHeight(int(height));
    }
    // Also for an empty message, so that every button stays visible.
    if (client.width() < ButtonRowWidth())
        client.setWidth(ButtonRowWidth() + 20);

    client = client.boundedTo(QSize(maxWidth, maxHeight));
    setFixedSize(client);

    RichEdit->moveCursor(QTextCursor::Start);
    RichEdit->horizontalScrollBar()->setValue(0);
    RichEdit->verticalScrollBar()->setValue(0);
}

void TForm_SaveMsg::ArrangePanels()
{
    const int w = width();
    const int h = height();
    const int left = Panel_Left->width();
    const int middle = std::max(h - TopHeight - Grown(this, BottomHeight), 0);
    Panel1->setGeometry(0, 0, w, TopHeight);
    Panel_Left->setGeometry(0, TopHeight, left, middle);
    Panel_Bottom->setGeometry(0, h - Grown(this, BottomHeight), w, Grown(this, BottomHeight));
    RichEdit->setGeometry(left, TopHeight, std::max(w - left, 0), middle);
    Panel_Image->raise();
    CentreButtonRow();
    if (isVisible())
        RefitScrollBars();
}

void TForm_SaveMsg::CentreButtonRow()
{
    // Centred in the client width: the toolkit cannot know the frame before showing.
    Panel_Buttons->move((Panel_Bottom->width() - ButtonRowWidth()) / 2, 0);
}

void TForm_SaveMsg::CentreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    move(available.center() - rect().center());
}

void TForm_SaveMsg::setVisible(bool visible)
{
    // Without OK or Yes, Enter must press nothing: keep the dialog from electing the
    // first button its default when shown. Moving to a button still makes it Enter's.
    const bool noEnterButton = visible && !EnterButton();
    if (noEnterButton)
        for (QPushButton *button : std::as_const(Buttons))
            button->setAutoDefault(false);
    QDialog::setVisible(visible);
    if (noEnterButton)
        for (QPushButton *button : std::as_const(Buttons))
            button->setAutoDefault(true);
}

void TForm_SaveMsg::RefitScrollBars()
{
    // Bars shown for the text area's size before it was laid out would keep each other
    // up; hiding both lets the text area measure its full size before deciding again.
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TForm_SaveMsg::showEvent(QShowEvent *event)
{
    ResultCode = ResultCancel;
    QDialog::showEvent(event);
    RefitScrollBars();
    const auto defaultButton =
        std::find_if(Buttons.cbegin(), Buttons.cend(), [](const QPushButton *b) { return b->isDefault(); });
    if (defaultButton != Buttons.cend())
        (*defaultButton)->setFocus();
    else
        Panel_Buttons->setFocus();
}

void TForm_SaveMsg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    ArrangePanels();
}

void TForm_SaveMsg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (QPushButton *escape = EscapeButton()) {
            escape->click();
            return;
        }
    }
    // Otherwise Escape closes the window like its close box, with ResultCancel.
    QDialog::keyPressEvent(event);
}

void TForm_SaveMsg::AnswerClick(int result)
{
    ResultCode = result;
    done(result);
}

QPushButton *TForm_SaveMsg::FindButton(int result) const
{
    for (const TButtonDef &def : ButtonDefs)
        if (def.Result == result)
            return Panel_Buttons->findChild<QPushButton *>(QString::fromLatin1(def.Name));
    return nullptr;
}

QPushButton *TForm_SaveMsg::EnterButton() const
{
    QPushButton *ok = FindButton(ResultOK);
    return ok ? ok : FindButton(ResultYes);
}

QPushButton *TForm_SaveMsg::EscapeButton() const
{
    // Cancel before No: with both, Escape must not pick the answer that discards.
    QPushButton *cancel = FindButton(ResultCancel);
    return cancel ? cancel : FindButton(ResultNo);
}

void TForm_SaveMsg::RichEditContextMenu(const QPoint &pos)
{
    PopupMenu_Text->popup(RichEdit->viewport()->mapToGlobal(pos));
}

void TForm_SaveMsg::Copy()
{
    QApplication::clipboard()->setText(FLines.join(QLatin1Char('\n')));
}

void TForm_SaveMsg::Save()
{
    const QString chosen = SaveFileDialog(this, QStringLiteral("Save As"), QString(), TextFilter);
    if (chosen.isEmpty())
        return;
    const QString fileName = WithTextExtension(chosen);

    // Written aside and renamed at the end, so a failed write never spoils an existing file.
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Text);
    for (const QString &line : std::as_const(FLines)) {
        if (!written)
            break;
        written = file.write((line + QLatin1Char('\n')).toUtf8()) >= 0;
    }
    if (written)
        written = file.commit();
    if (!written)
        ShowErrorBox(
            QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

std::unique_ptr<QTextDocument> TForm_SaveMsg::CreatePrintDocument() const
{
    auto document = std::make_unique<QTextDocument>();
    QFont font(QFontInfo(RichEdit->font()).family());
    font.setPointSize(10);
    document->setDefaultFont(font);
    QStringList text{ProgramTitle()};
    text += FLines;
    document->setPlainText(text.join(QLatin1Char('\n')));
    return document;
}

bool TForm_SaveMsg::PrintTo(QPrinter &printer)
{
    printer.setDocName(QStringLiteral(" : Error Log"));
    CreatePrintDocument()->print(&printer);
    if (printer.printerState() == QPrinter::Error) {
        ShowErrorBox(QStringLiteral("The message could not be printed."));
        return false;
    }
    return true;
}

void TForm_SaveMsg::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    // A test answers the print dialog through the seam; its text names a PDF file to print to.
    TShownBox box{TBoxKind::Window, QStringLiteral("Print"), FLines.join(QLatin1Char('\n')), BtnOK | BtnCancel};
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
