#include "authoring/Main.h"

#include "authoring/ClassEdit.h"
#include "authoring/CorrectAnswers.h"
#include "authoring/QuestionJoin.h"
#include "authoring/QuestionStatistics.h"
#include "authoring/SelectQuestion.h"
#include "authoring/SelectTest.h"
#include "authoring/StudentEdit.h"
#include "authoring/StudentJoin.h"
#include "authoring/TestEdit.h"
#include "authoring/TestGrades.h"
#include "authoring/TestJoin.h"
#include "authoring/ToolIcons.h"
#include "authoring/Wizard.h"
#include "designer/DesignForm.h"
#include "designer/ObjectInspector.h"
#include "dialogs/HelpFiles.h"
#include "dialogs/HelpForm.h"
#include "dialogs/HelpMenu.h"
#include "dialogs/SaveMsgDlg.h"
#include "dialogs/SplashAbout.h"
#include "question/GiftExchange.h"
#include "question/QuestionBank.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "report/Preview.h"
#include "testtaking/TestWizard.h"
#include "testtaking/WaitIndicator.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace Corvella {

namespace {

const char GuardedProperty[] = "corvellaDockGuarded";

// A key handed back by a picking window, as a bare whole number; empty when it is none.
QString WholeKey(const QString &key)
{
    bool ok = false;
    const qlonglong value = key.trimmed().toLongLong(&ok);
    return ok ? QString::number(value) : QString();
}

} // namespace

TForm_Main::TForm_Main(const QString &connectionText, QWidget *parent)
    : QMainWindow(parent), ADOQuery(&ADOConnection), ConnectionText(connectionText)
{
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(QStringLiteral("Corvella"));
    resize(638, 486);
    setDockOptions(QMainWindow::AnimatedDocks);

    Panel_Design = new QWidget(this);
    Panel_Design->setObjectName(QStringLiteral("Panel_Design"));
    auto *designLayout = new QVBoxLayout(Panel_Design);
    designLayout->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(Panel_Design);

    Panel_Controls = new QWidget(this);
    Panel_Controls->setObjectName(QStringLiteral("Panel_Controls"));
    Panel_Controls->hide();
    SetUpTestPrintout(Printout, &ADOQuery, this, Panel_Controls);
    NvPrintPreview = new TNvPrintPreview(this);
    NvPrintPreview->SetEnablePrint(true);

    CreateToolBars();
    CreateMenus();
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(StatusBar);

    NvSplashScreen = new TNvSplashScreen(this);
    NvAboutBox = new TNvAboutBox(this);

    SetDbErrorReporter([](const QString &message) { SaveMsgDialog(message, MsgError, BtnOK); });
    InstallDbWaitIndicator();

    ObjectInspector = new TObjectInspector;
    ConfigureObjectInspector();

    MenuItem_FileClick();
    MenuItem_QuestionClick();
    MenuItem_ControlsClick();
    MenuItem_HelpClick();
    CentreOnScreen();
}

TForm_Main::~TForm_Main()
{
    ReleaseDesigner();
    delete FOwnTemplate;
    RemoveDbWaitIndicator();
    SetDbErrorReporter(nullptr);
    ADOQuery.Close();
}

QString TForm_Main::ProgramTitle()
{
    const QString display = QGuiApplication::applicationDisplayName();
    return display.isEmpty() ? QCoreApplication::applicationName() : display;
}

void TForm_Main::CentreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

QToolButton *TForm_Main::AddToolButton(QToolBar *bar, const QString &name, const QString &hint, const QIcon &icon,
                                       bool check, bool enabled)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(icon);
    button->setIconSize(bar->iconSize());
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setCheckable(check);
    button->setEnabled(enabled);
    button->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(button);
    return button;
}

void TForm_Main::CreateToolBars()
{
    const auto makeBar = [this](const QString &name, const QString &caption) {
        auto *bar = new QToolBar(caption, this);
        bar->setObjectName(name);
        bar->setMovable(true);
        bar->setFloatable(true);
        bar->setAllowedAreas(Qt::TopToolBarArea);
        bar->setIconSize(QSize(ToolIconSize, ToolIconSize));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        addToolBar(Qt::TopToolBarArea, bar);
        return bar;
    };

    ToolBar_Controls = makeBar(QStringLiteral("ToolBar_Controls"), QStringLiteral("Control ToolBar"));
    ToolButton_Clear = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_Clear"),
                                     QStringLiteral("Clear Question"), ToolIcon(TToolIcon::Clear), false, true);
    ToolButton_Open = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_Open"),
                                    QStringLiteral("Open Question"), ToolIcon(TToolIcon::Open), false, true);
    ToolButton_Save = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_Save"),
                                    QStringLiteral("Save Question"), ToolIcon(TToolIcon::Save), false, false);
    ToolBar_Controls->addSeparator();
    ToolButton_MaskEdit = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_MaskEdit"),
                                        QStringLiteral("Editbox (Short Answer)"), ToolIcon(TToolIcon::MaskEdit), true,
                                        true);
    ToolButton_Combo = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_Combo"),
                                     QStringLiteral("Combobox (Mulitple Choice)"), ToolIcon(TToolIcon::Combo), true,
                                     true);
    ToolButton_RadioGroup = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_RadioGroup"),
                                          QStringLiteral("Radiogroup (Mulitple Choice)"),
                                          ToolIcon(TToolIcon::RadioGroup), true, true);
    ToolButton_List = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_List"),
                                    QStringLiteral("Listbox (Mulitple Choice)"), ToolIcon(TToolIcon::List), true, true);
    ToolButton_Memo = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_Memo"), QStringLiteral("Memo (Essay)"),
                                    ToolIcon(TToolIcon::Memo), true, true);
    ToolButton_DateTime = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_DateTime"),
                                        QStringLiteral("DateTime (Dates)"), ToolIcon(TToolIcon::DateTime), false, true);
    ToolBar_Controls->addSeparator();
    ToolButton_Wizard = AddToolButton(ToolBar_Controls, QStringLiteral("ToolButton_Wizard"),
                                      QStringLiteral("Question Wizard"), ToolIcon(TToolIcon::Wizard), false, false);

    ToolBar_Standard = makeBar(QStringLiteral("ToolBar_Standard"), QStringLiteral("Standard ToolBar"));
    ToolButton_Tests = AddToolButton(ToolBar_Standard, QStringLiteral("ToolButton_Tests"),
                                     QStringLiteral("Create Test "), ToolIcon(TToolIcon::Tests), false, true);
    ToolButton_Join = AddToolButton(ToolBar_Standard, QStringLiteral("ToolButton_Join"),
                                    QStringLiteral("Add Questions to Test"), ToolIcon(TToolIcon::Join), false, true);
    ToolBar_Standard->addSeparator();
    ToolButton_PrintPreview = AddToolButton(ToolBar_Standard, QStringLiteral("ToolButton_PrintPreview"),
                                            QStringLiteral("Preview"), ToolIcon(TToolIcon::PrintPreview), false, true);
    ToolButton_Print = AddToolButton(ToolBar_Standard, QStringLiteral("ToolButton_Print"), QStringLiteral("Print"),
                                     ToolIcon(TToolIcon::Print), false, true);
    ToolBar_Standard->addSeparator();
    ToolButton_BeginTesting = AddToolButton(ToolBar_Standard, QStringLiteral("ToolButton_BeginTesting"),
                                            QStringLiteral("Begin Testing"), ToolIcon(TToolIcon::BeginTesting), false,
                                            true);

    // The test list rides in the control bar beside the two tool bars.
    ToolBar_Test = makeBar(QStringLiteral("ToolBar_Test"), QStringLiteral("Test List"));
    NvComboBox_Test = new TNvComboBox(ToolBar_Test);
    NvComboBox_Test->setObjectName(QStringLiteral("NvComboBox_Test"));
    NvComboBox_Test->setAccessibleName(QStringLiteral("Test List"));
    NvComboBox_Test->setEditable(false);
    NvComboBox_Test->SetSorted(true);
    NvComboBox_Test->setFixedWidth(185);
    NvComboBox_Test->setToolTip(QStringLiteral("Save questions to test  (Press delete to clear)"));
    NvComboBox_Test->installEventFilter(this);
    ToolBar_Test->addWidget(NvComboBox_Test);

    connect(ToolButton_Clear, &QToolButton::clicked, this, &TForm_Main::ToolButton_ClearClick);
    connect(ToolButton_Open, &QToolButton::clicked, this, &TForm_Main::ToolButton_OpenClick);
    connect(ToolButton_Save, &QToolButton::clicked, this, &TForm_Main::ToolButton_SaveClick);
    connect(ToolButton_MaskEdit, &QToolButton::clicked, this, &TForm_Main::MenuItem_EditboxClick);
    connect(ToolButton_Combo, &QToolButton::clicked, this, &TForm_Main::MenuItem_ComboboxClick);
    connect(ToolButton_RadioGroup, &QToolButton::clicked, this, &TForm_Main::MenuItem_RadioGroupClick);
    connect(ToolButton_List, &QToolButton::clicked, this, &TForm_Main::MenuItem_ListBoxClick);
    connect(ToolButton_Memo, &QToolButton::clicked, this, &TForm_Main::MenuItem_MemoClick);
    connect(ToolButton_DateTime, &QToolButton::clicked, this, &TForm_Main::MenuItem_DateTimeClick);
    connect(ToolButton_Wizard, &QToolButton::clicked, this, &TForm_Main::MenuItem_WizardClick);
    connect(ToolButton_Tests, &QToolButton::clicked, this, &TForm_Main::ToolButton_TestsClick);
    connect(ToolButton_Join, &QToolButton::clicked, this, &TForm_Main::ToolButton_JoinClick);
    connect(ToolButton_PrintPreview, &QToolButton::clicked, this, &TForm_Main::ToolButton_PrintPreviewClick);
    connect(ToolButton_Print, &QToolButton::clicked, this, &TForm_Main::ToolButton_PrintClick);
    connect(ToolButton_BeginTesting, &QToolButton::clicked, this, &TForm_Main::ToolButton_BeginTestingClick);
}

QAction *TForm_Main::AddMenuItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void TForm_Main::CreateMenus()
{
    QMenuBar *bar = menuBar();
    const auto addMenu = [](QMenuBar *owner, const QString &name, const QString &caption) {
        QMenu *menu = owner->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };

    MenuItem_File = addMenu(bar, QStringLiteral("MenuItem_File"), QStringLiteral("&File"));
    MenuItem_ImportQuestions =
        AddMenuItem(MenuItem_File, QStringLiteral("MenuItem_ImportQuestions"), QStringLiteral("Import Questions…"));
    MenuItem_ExportTest =
        AddMenuItem(MenuItem_File, QStringLiteral("MenuItem_ExportTest"), QStringLiteral("Export Test…"));
    MenuItem_File->addSeparator();
    MenuItem_Exit = AddMenuItem(MenuItem_File, QStringLiteral("MenuItem_Exit"), QStringLiteral("E&xit"));

    MenuItem_Question = addMenu(bar, QStringLiteral("MenuItem_Question"), QStringLiteral("Questions"));
    MenuItem_Clear = AddMenuItem(MenuItem_Question, QStringLiteral("MenuItem_Clear"), QStringLiteral("&Clear"));
    MenuItem_Question->addSeparator();
    MenuItem_Controls = MenuItem_Question->addMenu(QStringLiteral("New"));
    MenuItem_Controls->setObjectName(QStringLiteral("MenuItem_Controls"));
    MenuItem_Editbox = AddMenuItem(MenuItem_Controls, QStringLiteral("MenuItem_Editbox"),
                                   QStringLiteral("Editbox       (Short Answer)"));
    MenuItem_Combobox = AddMenuItem(MenuItem_Controls, QStringLiteral("MenuItem_Combobox"),
                                    QStringLiteral("Combobox  (Multiple Choice)"));
    MenuItem_RadioGroup = AddMenuItem(MenuItem_Controls, QStringLiteral("MenuItem_RadioGroup"),
                                      QStringLiteral("Radiogroup (Multiple Choice)"));
    MenuItem_ListBox = AddMenuItem(MenuItem_Controls, QStringLiteral("MenuItem_ListBox"),
                                   QStringLiteral("Listbox        (Multiple Choice)"));
    MenuItem_Memo =
        AddMenuItem(MenuItem_Controls, QStringLiteral("MenuItem_Memo"), QStringLiteral("Memo          (Essay)"));
    MenuItem_DateTime =
        AddMenuItem(MenuItem_Controls, QStringLiteral("MenuItem_DateTime"), QStringLiteral("DateTime    (Dates)"));
    MenuItem_Open = AddMenuItem(MenuItem_Question, QStringLiteral("MenuItem_Open"), QStringLiteral("&Open..."));
    MenuItem_Save = AddMenuItem(MenuItem_Question, QStringLiteral("MenuItem_Save"), QStringLiteral("&Save... "));
    MenuItem_Delete = AddMenuItem(MenuItem_Question, QStringLiteral("MenuItem_Delete"), QStringLiteral("Delete..."));
    MenuItem_Question->addSeparator();
    MenuItem_Wizard = AddMenuItem(MenuItem_Question, QStringLiteral("MenuItem_Wizard"), QStringLiteral("&Wizard..."));

    MenuItem_Test = addMenu(bar, QStringLiteral("MenuItem_Test"), QStringLiteral("Test"));
    MenuItem_EditTest = AddMenuItem(MenuItem_Test, QStringLiteral("MenuItem_EditTest"), QStringLiteral("Edit..."));
    MenuItem_AddQuestions =
        AddMenuItem(MenuItem_Test, QStringLiteral("MenuItem_AddQuestions"), QStringLiteral("Add Questions..."));
    MenuItem_Test->addSeparator();
    MenuItem_PrintPreview =
        AddMenuItem(MenuItem_Test, QStringLiteral("MenuItem_PrintPreview"), QStringLiteral("Print Preview..."));
    MenuItem_Print = AddMenuItem(MenuItem_Test, QStringLiteral("MenuItem_Print"), QStringLiteral("Print..."));
    MenuItem_Test->addSeparator();
    MenuItem_BeginTesting =
        AddMenuItem(MenuItem_Test, QStringLiteral("MenuItem_BeginTesting"), QStringLiteral("Begin Testing..."));

    MenuItem_Students = addMenu(bar, QStringLiteral("MenuItem_Students"), QStringLiteral("Students"));
    MenuItem_EditStudents =
        AddMenuItem(MenuItem_Students, QStringLiteral("MenuItem_EditStudents"), QStringLiteral("Edit..."));

    MenuItem_Classes = addMenu(bar, QStringLiteral("MenuItem_Classes"), QStringLiteral("Classes"));
    MenuItem_NewClass = AddMenuItem(MenuItem_Classes, QStringLiteral("MenuItem_NewClass"), QStringLiteral("Edit..."));
    MenuItem_Classes->addSeparator();
    MenuItem_AddStudents =
        AddMenuItem(MenuItem_Classes, QStringLiteral("MenuItem_AddStudents"), QStringLiteral("Add Students..."));
    MenuItem_AddTests =
        AddMenuItem(MenuItem_Classes, QStringLiteral("MenuItem_AddTests"), QStringLiteral("Add Tests..."));

    MenuItem_GradeBook = addMenu(bar, QStringLiteral("MenuItem_GradeBook"), QStringLiteral("GradeBook"));
    MenuItem_EditGradebook =
        AddMenuItem(MenuItem_GradeBook, QStringLiteral("MenuItem_EditGradebook"), QStringLiteral("Edit..."));
    MenuItem_QuestionStatistics = AddMenuItem(MenuItem_GradeBook, QStringLiteral("MenuItem_QuestionStatistics"),
                                              QStringLiteral("Question Statistics..."));

    MenuItem_Help = addMenu(bar, QStringLiteral("MenuItem_Help"), QStringLiteral("Help"));
    MenuItem_Contents = AddMenuItem(MenuItem_Help, QStringLiteral("MenuItem_Contents"), QStringLiteral("Contents..."));
    MenuItem_HelpDivider = MenuItem_Help->addSeparator();
    MenuItem_HelpDivider->setObjectName(QStringLiteral("MenuItem_HelpDivider"));
    MenuItem_About = AddMenuItem(MenuItem_Help, QStringLiteral("MenuItem_About"), QStringLiteral("About.."));

    // The standard keys of the commands people expect; the menus show them.
    MenuItem_Save->setShortcut(QKeySequence::Save);
    MenuItem_Open->setShortcut(QKeySequence::Open);
    MenuItem_Editbox->setShortcut(QKeySequence::New);
    MenuItem_Print->setShortcut(QKeySequence::Print);
    MenuItem_Contents->setShortcut(QKeySequence::HelpContents);

    connect(MenuItem_File, &QMenu::aboutToShow, this, &TForm_Main::MenuItem_FileClick);
    connect(MenuItem_Question, &QMenu::aboutToShow, this, &TForm_Main::MenuItem_QuestionClick);
    connect(MenuItem_Controls, &QMenu::aboutToShow, this, &TForm_Main::MenuItem_ControlsClick);
    connect(MenuItem_Help, &QMenu::aboutToShow, this, &TForm_Main::MenuItem_HelpClick);

    connect(MenuItem_ImportQuestions, &QAction::triggered, this, &TForm_Main::MenuItem_ImportQuestionsClick);
    connect(MenuItem_ExportTest, &QAction::triggered, this, &TForm_Main::MenuItem_ExportTestClick);
    connect(MenuItem_Exit, &QAction::triggered, this, &TForm_Main::MenuItem_ExitClick);
    connect(MenuItem_Clear, &QAction::triggered, this, &TForm_Main::ToolButton_ClearClick);
    connect(MenuItem_Editbox, &QAction::triggered, this, &TForm_Main::MenuItem_EditboxClick);
    connect(MenuItem_Combobox, &QAction::triggered, this, &TForm_Main::MenuItem_ComboboxClick);
    connect(MenuItem_RadioGroup, &QAction::triggered, this, &TForm_Main::MenuItem_RadioGroupClick);
    connect(MenuItem_ListBox, &QAction::triggered, this, &TForm_Main::MenuItem_ListBoxClick);
    connect(MenuItem_Memo, &QAction::triggered, this, &TForm_Main::MenuItem_MemoClick);
    connect(MenuItem_DateTime, &QAction::triggered, this, &TForm_Main::MenuItem_DateTimeClick);
    connect(MenuItem_Open, &QAction::triggered, this, &TForm_Main::ToolButton_OpenClick);
    connect(MenuItem_Save, &QAction::triggered, this, &TForm_Main::ToolButton_SaveClick);
    connect(MenuItem_Delete, &QAction::triggered, this, &TForm_Main::MenuItem_DeleteClick);
    connect(MenuItem_Wizard, &QAction::triggered, this, &TForm_Main::MenuItem_WizardClick);
    connect(MenuItem_EditTest, &QAction::triggered, this, &TForm_Main::ToolButton_TestsClick);
    connect(MenuItem_AddQuestions, &QAction::triggered, this, &TForm_Main::ToolButton_JoinClick);
    connect(MenuItem_PrintPreview, &QAction::triggered, this, &TForm_Main::ToolButton_PrintPreviewClick);
    connect(MenuItem_Print, &QAction::triggered, this, &TForm_Main::ToolButton_PrintClick);
    connect(MenuItem_BeginTesting, &QAction::triggered, this, &TForm_Main::ToolButton_BeginTestingClick);
    connect(MenuItem_EditStudents, &QAction::triggered, this, &TForm_Main::MenuItem_EditStudentsClick);
    connect(MenuItem_NewClass, &QAction::triggered, this, &TForm_Main::MenuItem_NewClassClick);
    connect(MenuItem_AddStudents, &QAction::triggered, this, &TForm_Main::MenuItem_AddStudentsClick);
    connect(MenuItem_AddTests, &QAction::triggered, this, &TForm_Main::MenuItem_AddTestsClick);
    connect(MenuItem_EditGradebook, &QAction::triggered, this, &TForm_Main::MenuItem_EditGradebookClick);
    connect(MenuItem_QuestionStatistics, &QAction::triggered, this, &TForm_Main::MenuItem_QuestionStatisticsClick);
    connect(MenuItem_Contents, &QAction::triggered, this, &TForm_Main::MenuItem_ContentsClick);
    connect(MenuItem_About, &QAction::triggered, this, &TForm_Main::MenuItem_AboutClick);
}

// ---- Start-up ------------------------------------------------------------------

void TForm_Main::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    // The start-up work runs once the window is on the screen, so its boxes have a parent to sit on.
    QTimer::singleShot(0, this, &TForm_Main::FormShow);
}

void TForm_Main::FormShow()
{
    // Every report preview opens the program's own preview window.
    NvPrintPreview->Execute();

    RegisterQuestionClasses();
    ActivateDesigner();

    if (InspectorDock && !InspectorDock->isFloating())
        resizeDocks({InspectorDock}, {InspectorDockWidth()}, Qt::Horizontal);

    try {
        ADOConnection.Close();
        ADOConnection.SetConnectionString(ConnectionText);
        ADOConnection.Open();
    } catch (const Exception &e) {
        ShowMessage(e.Message());
    }

    NvSplashScreen->Title = ProgramTitle();
    NvSplashScreen->Version = QString::fromLatin1(ProgramVersion);
    NvSplashScreen->DisplayTime = 4000;
    NvSplashScreen->Execute();

    // Not guarded in the list itself: shown the way every unhandled error is.
    try {
        LoadTestList();
    } catch (const Exception &e) {
        ShowErrorBox(e.Message());
    }
    FStartedUp = true;
}

void TForm_Main::ConfigureObjectInspector()
{
    if (!ObjectInspector)
        return;
    const TObjectInspectorSettings &settings = ObjectInspectorSettings;
    TObjectInspector *designer = ObjectInspector;
    designer->EmptySurfaceActions = settings.EmptySurfaceActions;
    designer->SetAllowDeletes(settings.AllowDeletes);
    designer->SetBitMaskProps(settings.BitMaskProps);
    designer->SetBitMaskTags(settings.BitMaskTags);
    designer->SetClearCutBufferOnPaste(settings.ClearCutBufferOnPaste);
    designer->SetCutAndPaste(settings.CutAndPaste);
    designer->SetEditButtonProps(settings.EditButtonProps);
    designer->SetGridX(settings.GridX);
    designer->SetGridY(settings.GridY);
    designer->SetSnapToGrid(settings.SnapToGrid);
    designer->SetShowDescriptions(settings.ShowDescriptions);
    designer->SetInspectorLeft(settings.InspectorLeft);
    designer->SetInspectorTop(settings.InspectorTop);
    designer->SetInspectorWidth(settings.InspectorWidth);
    designer->SetInspectorHeight(settings.InspectorHeight);
    designer->SetSupportedProps(settings.SupportedProps);
    designer->SetUnEditableProps(settings.UnEditableProps);

    designer->OnCreateControl = [this](TObjectInspector *, QWidget *control) { ObjectInspectorCreateControl(control); };
    designer->OnBeforeDelete = [this](TObjectInspector *, bool &canDelete) { ObjectInspectorBeforeDelete(canDelete); };
    designer->OnDelete = [this](TObjectInspector *, bool &) { ObjectInspectorDelete(); };
    designer->OnEditButtonClick = [this](TObjectInspector *) { ObjectInspectorEditButtonClick(); };
    designer->OnMenuPopup = [this](TObjectInspector *sender) {
        ObjectInspectorMenuPopup(sender->ControlMenu(), SelectedCount());
    };
}

bool TForm_Main::ActivateDesigner()
{
    if (!ObjectInspector)
        return false;
    if (!Form_DesignForm) {
        FOwnTemplate = new TForm_DesignForm;
        Form_DesignForm = FOwnTemplate;
    }
    ObjectInspector->SetDisplayGrid(ObjectInspectorSettings.DisplayGrid);
    ObjectInspector->TemplateForm = Form_DesignForm;
    if (!ObjectInspector->Activate())
        return false;

    QMenu *controlMenu = ObjectInspector->ControlMenu();
    auto *wizardItem = controlMenu->findChild<QAction *>(QStringLiteral("FDSubMenuItem_Wizard"));
    if (!wizardItem) {
        wizardItem = new QAction(QStringLiteral("Wizard"), controlMenu);
        wizardItem->setObjectName(QStringLiteral("FDSubMenuItem_Wizard"));
        controlMenu->insertAction(controlMenu->actions().value(0), wizardItem);
    }
    connect(wizardItem, &QAction::triggered, this, &TForm_Main::MenuItem_WizardClick);

    ObjectInspector->SetShowDescriptions(ObjectInspectorSettings.ShowDescriptions);
    ObjectInspector->SetAllowDeletes(ObjectInspectorSettings.AllowDeletes);
    ObjectInspector->SetObjectListVisible(false);
    DockInspector(ObjectInspector->InspectorWindow());

    QWidget *surface = ObjectInspector->DesignSurface();
    surface->setParent(Panel_Design);
    surface->setMinimumSize(0, 0);
    surface->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Panel_Design->layout()->addWidget(surface);
    surface->show();
    if (QWidget *focused = Panel_Design->focusWidget())
        focused->clearFocus();

    ObjectInspector->ShowInspector();
    ObjectInspector->RefreshSurface();
    return true;
}

void TForm_Main::ReleaseDesigner()
{
    if (!ObjectInspector)
        return;
    // The surface leaves the window first, so only the designer frees it.
    if (QWidget *surface = ObjectInspector->DesignSurface()) {
        surface->hide();
        surface->setParent(nullptr);
    }
    delete ObjectInspector;
    ObjectInspector = nullptr;
    InspectorDock = nullptr;
}

void TForm_Main::LoadTestList()
{
    const QString rememberedName = NvComboBox_Test->Text();
    const QString rememberedCode = NvComboBox_Test->SelectedCode();
    NvComboBox_Test->Clear();

    ADOQuery.Clear();
    ADOQuery.Add(QStringLiteral("SELECT NAME, ID FROM testmaster"));
    try {
        ADOQuery.Open();
        while (!ADOQuery.Eof()) {
            const int position = NvComboBox_Test->Add(ADOQuery.FieldByName("NAME").AsString());
            NvComboBox_Test->SetCode(position, ADOQuery.FieldByName("ID").AsString());
            ADOQuery.Next();
        }
        ADOQuery.Close();
    } catch (...) {
        ADOQuery.Close();
        throw;
    }

    // Nothing chosen before means nothing chosen now, even when a test has an empty name.
    // Among tests of the same name the one chosen before keeps the choice.
    int index = -1;
    if (!rememberedName.isEmpty()) {
        for (int i = 0; i < NvComboBox_Test->Count() && index < 0; ++i)
            if (NvComboBox_Test->Items(i).compare(rememberedName, Qt::CaseInsensitive) == 0 &&
                NvComboBox_Test->Code(i) == rememberedCode)
                index = i;
        if (index < 0)
            index = NvComboBox_Test->IndexOfItem(rememberedName);
    }
    NvComboBox_Test->SetItemIndex(index);
}

// ---- Closing -------------------------------------------------------------------

void TForm_Main::closeEvent(QCloseEvent *event)
{
    if (!ConfirmCloseQuestion()) {
        event->ignore();
        return;
    }
    ReleaseDesigner();
    if (NvSplashScreen)
        NvSplashScreen->close();
    QMainWindow::closeEvent(event);
}

// ---- The left dock panel ---------------------------------------------------------

void TForm_Main::DockInspector(QDockWidget *inspector)
{
    if (!inspector)
        return;
    InspectorDock = inspector;
    // The inspector can be moved and floated, never closed.
    inspector->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    inspector->setAllowedAreas(Qt::LeftDockWidgetArea);
    inspector->setProperty(GuardedProperty, true);
    inspector->installEventFilter(this);
    connect(inspector, &QDockWidget::dockLocationChanged, this, [this](Qt::DockWidgetArea area) {
        if (area == Qt::LeftDockWidgetArea)
            Panel_LeftDockDockDrop();
    });
    inspector->setFloating(false);
    addDockWidget(Qt::LeftDockWidgetArea, inspector);
    inspector->show();
}

bool TForm_Main::Panel_LeftDockDockOver(const QDockWidget *source) const
{
    return source && source == InspectorDock;
}

void TForm_Main::Panel_LeftDockDockDrop()
{
    // The dropped inspector takes the width of the dock preview: a third of the client area.
    if (InspectorDock && !InspectorDock->isFloating())
        resizeDocks({InspectorDock}, {std::max(1, width() / 3)}, Qt::Horizontal);
}

int TForm_Main::Panel_LeftDockWidth() const
{
    return VSplitterVisible() ? InspectorDock->width() : 0;
}

bool TForm_Main::VSplitterVisible() const
{
    return InspectorDock && !InspectorDock->isFloating() && InspectorDock->isVisible() &&
           dockWidgetArea(InspectorDock) == Qt::LeftDockWidgetArea;
}

void TForm_Main::childEvent(QChildEvent *event)
{
    QMainWindow::childEvent(event);
    if (event->type() != QEvent::ChildAdded)
        return;
    // A child is announced before it is fully built; look at it once it is.
    QPointer<QObject> child = event->child();
    QMetaObject::invokeMethod(
        this,
        [this, child] {
            if (auto *dock = qobject_cast<QDockWidget *>(child.data()))
                GuardDockWidget(dock);
        },
        Qt::QueuedConnection);
}

void TForm_Main::GuardDockWidget(QDockWidget *dock)
{
    if (dock == InspectorDock || dock->property(GuardedProperty).toBool())
        return;
    dock->setProperty(GuardedProperty, true);
    dock->setAllowedAreas(dock->allowedAreas() & ~Qt::LeftDockWidgetArea);
    const auto refuse = [this, dock](Qt::DockWidgetArea area) {
        if (area == Qt::LeftDockWidgetArea && !Panel_LeftDockDockOver(dock))
            addDockWidget(Qt::RightDockWidgetArea, dock);
    };
    connect(dock, &QDockWidget::dockLocationChanged, this, refuse);
    if (!dock->isFloating() && dock->parent() == this)
        refuse(dockWidgetArea(dock));
}

// ---- Keys and menu enabling --------------------------------------------------------

bool TForm_Main::event(QEvent *event)
{
    // A shortcut finds its menu item enabled as the menu would show it.
    if (event->type() == QEvent::ShortcutOverride) {
        MenuItem_FileClick();
        MenuItem_QuestionClick();
        MenuItem_ControlsClick();
        MenuItem_HelpClick();
    }
    return QMainWindow::event(event);
}

bool TForm_Main::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == NvComboBox_Test && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        NvComboBox_TestKeyDown(key);
        if (key == Qt::Key_Delete)
            return true;
    }
    if (watched == InspectorDock && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm_Main::NvComboBox_TestKeyDown(int key)
{
    if (key == Qt::Key_Delete)
        NvComboBox_Test->SetItemIndex(-1);
}

void TForm_Main::MenuItem_FileClick()
{
    MenuItem_Open->setEnabled(ToolButton_Open->isEnabled());
    MenuItem_Clear->setEnabled(ToolButton_Clear->isEnabled());
    MenuItem_Save->setEnabled(ToolButton_Save->isEnabled());
}

void TForm_Main::MenuItem_QuestionClick()
{
    MenuItem_Wizard->setEnabled(ToolButton_Wizard->isEnabled());
    MenuItem_Save->setEnabled(ToolButton_Save->isEnabled());
    MenuItem_Delete->setEnabled(ToolButton_Save->isEnabled());
}

void TForm_Main::MenuItem_ControlsClick()
{
    const bool enabled = ToolButton_MaskEdit->isEnabled();
    for (QAction *item :
         {MenuItem_Editbox, MenuItem_Combobox, MenuItem_RadioGroup, MenuItem_ListBox, MenuItem_Memo, MenuItem_DateTime})
        item->setEnabled(enabled);
}

void TForm_Main::MenuItem_HelpClick()
{
    MenuItem_Contents->setText(ProgramTitle() + QStringLiteral(" Help..."));
    const bool anyHelp = !HelpFilesSettings.HelpFiles.isEmpty();
    MenuItem_Contents->setVisible(anyHelp);
    MenuItem_HelpDivider->setVisible(anyHelp);
}

void TForm_Main::ObjectInspectorMenuPopup(QMenu *controlMenu, int selectedCount)
{
    if (!controlMenu)
        return;
    for (QAction *item : controlMenu->actions())
        item->setVisible(selectedCount > 0);
}

// ---- Tool-bar states ------------------------------------------------------------

QList<QToolButton *> TForm_Main::ControlsButtons() const
{
    return {ToolButton_Clear,      ToolButton_Open, ToolButton_Save, ToolButton_MaskEdit, ToolButton_Combo,
            ToolButton_RadioGroup, ToolButton_List, ToolButton_Memo, ToolButton_DateTime, ToolButton_Wizard};
}

void TForm_Main::EnableKindButtons(bool enabled)
{
    for (QToolButton *button : ControlsButtons())
        if (button != ToolButton_Clear && button != ToolButton_Open)
            button->setEnabled(enabled);
    ToolButton_Save->setEnabled(!enabled);
    ToolButton_Wizard->setEnabled(ToolButton_Save->isEnabled());
}

void TForm_Main::ReleaseKindButtons()
{
    for (QToolButton *button : ControlsButtons()) {
        button->setChecked(false);
        button->setDown(false);
    }
}

// ---- The question being designed -------------------------------------------------

QWidget *TForm_Main::DesignSurface() const
{
    return ObjectInspector ? ObjectInspector->DesignSurface() : nullptr;
}

int TForm_Main::SelectedCount() const
{
    return ObjectInspector ? ObjectInspector->SelectedCount() : 0;
}

QWidget *TForm_Main::SelectedControl() const
{
    return SelectedCount() == 1 ? ObjectInspector->SelectedControl() : nullptr;
}

QString TForm_Main::PropertyValue(const QString &name) const
{
    QString value;
    if (ObjectInspector)
        ObjectInspector->GetPropertyValue(ObjectInspector->FindPropertyRow(name), value);
    return value;
}

void TForm_Main::UpdateCorrectAnswerButton(QWidget *control)
{
    if (!ObjectInspector)
        return;
    const QString row = QStringLiteral("CorrectAnswer");
    QStringList props = ObjectInspector->EditButtonProps();
    const bool wanted = qobject_cast<TQADateTime *>(control) || qobject_cast<TQACombobox *>(control) ||
                        qobject_cast<TQARadioGroup *>(control);
    if (wanted && !props.contains(row))
        props << row;
    else if (!wanted)
        props.removeAll(row);
    ObjectInspector->SetEditButtonProps(props);
    ObjectInspector->ApplyEditButtonProps();
}

QString TForm_Main::NextQuestionID()
{
    try {
        return QString::number(NextQuestionNumber(ADOQuery));
    } catch (const Exception &e) {
        ADOQuery.Close();
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return QString();
    }
}

bool TForm_Main::StoreQuestion(TStoreMode mode, const QString &question, const QString &control, const QString &name,
                               const QString &id)
{
    const auto insert = [&] { InsertQuestionRow(ADOQuery, id, name, question, control); };
    try {
        if (mode == TStoreMode::Add) {
            insert();
        } else {
            ADOQuery.Clear();
            ADOQuery.Add(QStringLiteral("UPDATE controldef SET"));
            ADOQuery.Add(QStringLiteral("QUESTION =") + QuotedStr(question) + QStringLiteral(", "));
            ADOQuery.Add(QStringLiteral("CONTROL = ") + QuotedStr(control));
            ADOQuery.Add(QStringLiteral("WHERE ID =") + id);
            ADOQuery.ExecSQL();
            // The row went away (deleted elsewhere): store the question again rather
            // than report a save that kept nothing.
            if (ADOQuery.RowsAffected() == 0)
                insert();
        }
    } catch (const Exception &e) {
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return false;
    }
    FAddedToTest = AddQuestionToSelectedTest(id);
    return true;
}

bool TForm_Main::AddQuestionToSelectedTest(const QString &questionID)
{
    if (NvComboBox_Test->ItemIndex() < 0)
        return false;
    const QString testID = NvComboBox_Test->SelectedCode();
    if (!IsValidInteger(testID))
        return false;
    int seq = 0;
    try {
        seq = ::NextTestSequence(ADOQuery, testID);
    } catch (const Exception &e) {
        ADOQuery.Close();
        ShowErrorBox(e.Message());
        return false;
    }
    if (!IsValidInteger(questionID) || questionID.toInt() < 0 || TestHasQuestion(testID, questionID))
        return false;
    try {
        InsertTestQuestion(ADOQuery, testID, questionID, seq);
        return true;
    } catch (const Exception &e) {
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        return false;
    }
}

int TForm_Main::NextTestSequence(const QString &testID)
{
    return ::NextTestSequence(ADOQuery, testID);
}

bool TForm_Main::TestHasQuestion(const QString &testID, const QString &questionID)
{
    try {
        return ::TestHasQuestion(ADOQuery, testID, questionID);
    } catch (const Exception &e) {
        SaveMsgDialog(e.Message(), MsgError, BtnOK);
        ADOQuery.Close();
        return false;
    }
}

bool TForm_Main::DeleteQuestionRows(const QString &id)
{
    bool success = true;
    for (const QString &statement : {QStringLiteral("DELETE FROM testdetail WHERE CONTROLID=") + id,
                                     QStringLiteral("DELETE FROM controldef WHERE ID=") + id}) {
        try {
            ADOQuery.Clear();
            ADOQuery.Add(statement);
            ADOQuery.ExecSQL();
        } catch (const Exception &e) {
            SaveMsgDialog(e.Message(), MsgError, BtnOK);
            success = false;
        }
    }
    return success;
}

// ---- Commands ------------------------------------------------------------------

void TForm_Main::NewQuestionOfKind(QToolButton *button, const QString &className)
{
    ReleaseKindButtons();
    if (!DesignSurface())
        return;
    button->setChecked(button->isCheckable());
    button->setDown(true);
    // The designer places it at the corner; ObjectInspectorCreateControl centres it.
    ObjectInspector->CreateControl(className, QPoint(0, 0));
    // A creation that failed leaves the kind buttons as they were.
    if (ToolButton_MaskEdit->isEnabled())
        ReleaseKindButtons();
}

void TForm_Main::MenuItem_EditboxClick()
{
    NewQuestionOfKind(ToolButton_MaskEdit, QStringLiteral("TQAMaskEdit"));
}
void TForm_Main::MenuItem_ComboboxClick()
{
    NewQuestionOfKind(ToolButton_Combo, QStringLiteral("TQACombobox"));
}
void TForm_Main::MenuItem_RadioGroupClick()
{
    NewQuestionOfKind(ToolButton_RadioGroup, QStringLiteral("TQARadioGroup"));
}
void TForm_Main::MenuItem_ListBoxClick()
{
    NewQuestionOfKind(ToolButton_List, QStringLiteral("TQAListbox"));
}
void TForm_Main::MenuItem_MemoClick()
{
    NewQuestionOfKind(ToolButton_Memo, QStringLiteral("TQARichEdit"));
}
void TForm_Main::MenuItem_DateTimeClick()
{
    NewQuestionOfKind(ToolButton_DateTime, QStringLiteral("TQADateTime"));
}

void TForm_Main::ObjectInspectorCreateControl(QWidget *control)
{
    if (!control)
        return;
    UpdateCorrectAnswerButton(control);
    ResetNewQuestion(control);

    // Centred in the area right of the inspector and below the tool bars: the surface's place.
    const int left = (Panel_Design->width() - control->width()) / 2;
    const int top = (Panel_Design->height() - control->height() - 20) / 2;
    ObjectInspector->MoveControl(control, QPoint(left, top));

    EnableKindButtons(false);
    ReleaseKindButtons();
    ToolButton_Save->setEnabled(true);
    ToolButton_Wizard->setEnabled(true);
    ObjectInspector->SelectControl(control);
    ObjectInspector->UpdateHandles();
}

void TForm_Main::ClearQuestion()
{
    if (ObjectInspector)
        ObjectInspector->ClearSurface();
    FSavedText.clear();
    EnableKindButtons(true);
}

void TForm_Main::ToolButton_ClearClick()
{
    if (SelectedCount() == 0) {
        EnableKindButtons(true);
        return;
    }
    const int answer = SaveMsgDialog(
        QStringLiteral("Do you want to save changes to the current question before clearing the design palette?"),
        MsgConfirm, BtnYes | BtnNo | BtnCancel);
    if (answer == ResultYes) {
        if (ToolButton_SaveClick())
            ClearQuestion();
    } else if (answer == ResultNo) {
        ClearQuestion();
    }
}

void TForm_Main::ToolButton_OpenClick()
{
    if (!DesignSurface())
        return;
    if (SelectedCount() > 0) {
        const int answer =
            ConfirmBox(QStringLiteral("Do you want to save changes to the current control before opening a control?"),
                       BtnYes | BtnNo | BtnCancel);
        if (answer == ResultYes) {
            // A question the save could not store stays where it is.
            if (!ToolButton_SaveClick())
                return;
            ClearQuestion();
        } else if (answer == ResultNo) {
            ClearQuestion();
        } else {
            return;
        }
    }

    TForm_SelectQuestion selectQuestion(&ADOQuery, this);
    selectQuestion.exec();
    if (selectQuestion.Cancelled)
        return;
    EnableKindButtons(false);
    ToolButton_Save->setEnabled(true);
    ToolButton_Wizard->setEnabled(true);
    const TControlDef *def = selectQuestion.SelectedControlDef();
    if (!def)
        return;

    QWidget *surface = DesignSurface();
    QStringList lines = ::SplitLines(def->Control);
    if (lines.isEmpty())
        return;
    lines.insert(0, ObjectLineClassName(lines.first()));
    const QList<QObject *> before = OwnedComponents(surface);
    QWidget *control = nullptr;
    try {
        control = TextToQuestionControl(lines, surface, surface);
    } catch (const Exception &e) {
        // Whatever the reader made of the text before it failed leaves the surface again.
        for (QObject *component : OwnedComponents(surface))
            if (!before.contains(component) && component->isWidgetType())
                delete component;
        ShowErrorBox(e.Message());
        return;
    }
    if (!control)
        return;
    control->show();
    ObjectInspector->AdoptControl(control);
    UpdateCorrectAnswerButton(control);
    FSavedText = ::SplitLines(ComponentToText(control)).join(QStringLiteral("\r\n"));
}

bool TForm_Main::ToolButton_SaveClick()
{
    if (!DesignSurface())
        return true;
    for (QWidget *control : QuestionsOnSurface())
        ObjectInspector->SelectControl(control);
    QWidget *control = SelectedControl();
    // Nothing was stored: a clear or open that waits on this save must not go on.
    if (!control)
        return false;
    if (!ConfirmAnswerableQuestion(control)) {
        StatusBar->showMessage(QStringLiteral("The question was not saved."));
        return false;
    }

    QString name = control->objectName();
    TStoreMode mode = TStoreMode::Update;
    QString id;
    const int idRow = ObjectInspector->FindPropertyRow(QStringLiteral("ID"));
    if (idRow >= 0) {
        ObjectInspector->GetPropertyValue(idRow, id);
        if (id == QLatin1String("0")) {
            id = NextQuestionID();
            if (id.isEmpty())
                return false;
            mode = TStoreMode::Add;
            ObjectInspector->SetPropertyValue(idRow, id);
        }
        name = QuestionComponentName(ComponentClassName(control), id);
        try {
            SetComponentName(control, name);
        } catch (const Exception &e) {
            SaveMsgDialog(e.Message(), MsgError, BtnOK);
        }
    }
    const QString question = PropertyValue(QStringLiteral("Question"));
    const QString text = StoredControlText(control);

    const bool stored = IsValidInteger(id) && StoreQuestion(mode, question, text, name, id);
    if (stored) {
        FSavedText = ::SplitLines(ComponentToText(control)).join(QStringLiteral("\r\n"));
        const QString test = NvComboBox_Test->ItemIndex() >= 0 ? NvComboBox_Test->Text() : QString();
        if (test.isEmpty())
            StatusBar->showMessage(QStringLiteral("Saved in the question bank"));
        else if (FAddedToTest)
            StatusBar->showMessage(QStringLiteral("Saved as question %1 and added to %2").arg(id, test));
        else
            StatusBar->showMessage(QStringLiteral("Saved as question %1 in %2").arg(id, test));
    } else {
        StatusBar->showMessage(QStringLiteral("The question was not saved."));
    }
    if (!stored) {
        if (mode == TStoreMode::Add) {
            ObjectInspector->SetPropertyValue(ObjectInspector->FindPropertyRow(QStringLiteral("ID")),
                                              QStringLiteral("0"));
            ObjectInspector->SetPropertyValue(ObjectInspector->FindPropertyRow(QStringLiteral("Height")),
                                              QString::number(control->height()));
        }
        ObjectInspector->RefreshInspector();
    }
    ObjectInspector->RefreshComponents();
    return stored;
}

bool TForm_Main::ConfirmAndDeleteQuestion()
{
    const QString id = PropertyValue(QStringLiteral("ID"));
    if (!IsValidInteger(id) || id.toInt() < 1) {
        SaveMsgDialog(QStringLiteral("The question could not be deleted because it has never been saved."), MsgWarning,
                      BtnOK);
        return false;
    }
    const int answer = SaveMsgDialog(
        QStringLiteral("All instances of this question will be deleted from all tests where it exists.") +
            QStringLiteral("\r\n") + QStringLiteral("Are you sure you want to delete the selected question?"),
        MsgConfirm, BtnYes | BtnNo);
    if (answer != ResultYes)
        return false;
    if (!DeleteQuestionRows(QString::number(id.toInt()))) {
        SaveMsgDialog(QStringLiteral("The question could not completely be deleted."), MsgWarning, BtnOK);
        return false;
    }
    return true;
}

void TForm_Main::ObjectInspectorBeforeDelete(bool &canDelete)
{
    canDelete = ConfirmAndDeleteQuestion();
}

void TForm_Main::MenuItem_DeleteClick()
{
    if (SelectedCount() == 0 || !ConfirmAndDeleteQuestion())
        return;
    ObjectInspector->RemoveSelectedControls();
    ObjectInspectorDelete();
}

void TForm_Main::MenuItem_WizardClick()
{
    QWidget *control = SelectedControl();
    if (!control)
        return;
    TForm_Wizard wizard(this);
    wizard.setWindowTitle(QStringLiteral("Set-Up Wizard"));
    wizard.Control = control;
    wizard.exec();
    ObjectInspector->RefreshInspector();
    ObjectInspector->UpdateHandles();
}

void TForm_Main::ObjectInspectorEditButtonClick()
{
    if (!ObjectInspector)
        return;
    QString name;
    ObjectInspector->SelectedPropertyName(name);
    QWidget *control = SelectedControl();
    if ((name != QLatin1String("CorrectAnswer") && name != QLatin1String("CorrectAnswers")) || !control)
        return;
    TForm_CorrectAnswers correctAnswers(this);
    correctAnswers.PropertyName = name;
    correctAnswers.Control = control;
    correctAnswers.exec();
    ObjectInspector->RefreshInspector();
}

void TForm_Main::ToolButton_TestsClick()
{
    {
        TForm_TestEdit testEdit(&ADOQuery, this);
        testEdit.SetPicking(false);
        testEdit.setWindowTitle(QStringLiteral("Create Test"));
        testEdit.WithQuestionsOnly = false;
        testEdit.exec();
    }
    LoadTestList();
}

void TForm_Main::ToolButton_JoinClick()
{
    TForm_TestEdit testEdit(&ADOQuery, this);
    testEdit.SetPicking(true);
    testEdit.setWindowTitle(QStringLiteral("Add Questions to Test "));
    testEdit.WithQuestionsOnly = false;
    testEdit.exec();
    const QString testID = WholeKey(testEdit.ResultID);
    if (testEdit.Cancelled || testID.isEmpty())
        return;

    CurrentTest.ID = testID.toInt();
    CurrentTest.Name = testEdit.ResultName;
    CurrentTest.Subtitle = testEdit.ResultSubtitle;
    CurrentTest.Instructions = testEdit.ResultInstructions;
    CurrentTest.Columns = testEdit.ResultColumns;
    // The questions-in-test window previews this test without asking for one.
    Printout.Job.TestID = testID;
    Printout.Job.TestTitle = testEdit.ResultName;
    Printout.Job.SubTitle = testEdit.ResultSubtitle;
    Printout.Job.Instructions = testEdit.ResultInstructions;
    Printout.Job.Columns = testEdit.ResultColumns;

    TForm_QuestionJoin questionJoin(&ADOQuery, this);
    connect(&questionJoin, &TForm_QuestionJoin::PreviewRequested, this, &TForm_Main::PreviewJoinedTest);
    questionJoin.BitBtn_OK->hide();
    questionJoin.BitBtn_Cancel->hide();
    questionJoin.BitBtn_Close->show();
    questionJoin.SetParentName(testEdit.ResultName);
    questionJoin.SetParentKey(testID);
    questionJoin.exec();
}

void TForm_Main::ToolButton_BeginTestingClick()
{
    TForm_TestEdit testEdit(&ADOQuery, this);
    testEdit.SetPicking(true);
    testEdit.setWindowTitle(QStringLiteral("Begin Testing"));
    testEdit.WithQuestionsOnly = true;
    testEdit.exec();
    if (testEdit.Cancelled || testEdit.ResultID.isEmpty())
        return;
    TForm_TestWizard testWizard(&ADOQuery, false, this);
    testWizard.TestID = testEdit.ResultID;
    testWizard.exec();
}

void TForm_Main::RunPrintout(TPrintSender kind)
{
    try {
        Printout.Execute(kind);
    } catch (const Exception &e) {
        ShowErrorBox(e.Message());
    }
}

void TForm_Main::ToolButton_PrintPreviewClick()
{
    RunPrintout(TPrintSender::PreviewButton);
}

void TForm_Main::ToolButton_PrintClick()
{
    RunPrintout(TPrintSender::PrintButton);
}

void TForm_Main::PreviewJoinedTest()
{
    RunPrintout(TPrintSender::QuestionJoin);
}

void TForm_Main::MenuItem_EditStudentsClick()
{
    TForm_StudentEdit studentEdit(&ADOQuery, this);
    studentEdit.SetPicking(false);
    studentEdit.setWindowTitle(QStringLiteral("Edit Students"));
    studentEdit.exec();
}

void TForm_Main::MenuItem_NewClassClick()
{
    TForm_ClassEdit classEdit(&ADOQuery, this);
    classEdit.SetPicking(false);
    classEdit.setWindowTitle(QStringLiteral("Edit Classes"));
    classEdit.exec();
}

bool TForm_Main::PickClass()
{
    TForm_ClassEdit classEdit(&ADOQuery, this);
    classEdit.SetPicking(true);
    classEdit.setWindowTitle(QStringLiteral("Select Class"));
    classEdit.exec();
    const QString classID = WholeKey(classEdit.ResultID);
    if (classEdit.Cancelled || classID.isEmpty())
        return false;
    CurrentClass.ID = classID.toInt();
    CurrentClass.Name = classEdit.ResultName;
    CurrentClass.Course = classEdit.ResultCourse;
    CurrentClass.Teacher = classEdit.ResultTeacher;
    CurrentClass.Chapter.clear();
    return true;
}

void TForm_Main::MenuItem_AddStudentsClick()
{
    if (!PickClass())
        return;
    TForm_StudentJoin studentJoin(&ADOQuery, this);
    studentJoin.BitBtn_OK->hide();
    studentJoin.BitBtn_Cancel->hide();
    studentJoin.BitBtn_Close->show();
    studentJoin.SetParentName(CurrentClass.Name);
    studentJoin.SetParentKey(QString::number(CurrentClass.ID));
    studentJoin.exec();
}

void TForm_Main::MenuItem_AddTestsClick()
{
    if (!PickClass())
        return;
    TForm_TestJoin testJoin(&ADOQuery, this);
    testJoin.BitBtn_OK->hide();
    testJoin.BitBtn_Cancel->hide();
    testJoin.BitBtn_Close->show();
    testJoin.ParentName = CurrentClass.Name;
    testJoin.ParentKey = QString::number(CurrentClass.ID);
    testJoin.exec();
}

void TForm_Main::MenuItem_EditGradebookClick()
{
    if (!PickClass())
        return;
    const QString classKey = QString::number(CurrentClass.ID);
    TForm_SelectTest selectTest(&ADOQuery, this);
    selectTest.setWindowTitle(QStringLiteral("Select Test"));
    selectTest.ParentKey = classKey;
    selectTest.ParentName = CurrentClass.Name;
    selectTest.PrepareForGradeBook();
    selectTest.exec();
    const QString testID = WholeKey(selectTest.ResultID);
    if (selectTest.Cancelled || testID.isEmpty())
        return;

    TForm_TestGrades testGrades(&ADOQuery, this);
    testGrades.Edit_TestName->SetText(selectTest.ResultName);
    testGrades.Edit_ClassName->SetText(CurrentClass.Name);
    testGrades.TestKey = testID;
    testGrades.ClassKey = classKey;
    testGrades.exec();
}

void TForm_Main::MenuItem_QuestionStatisticsClick()
{
    TForm_QuestionStatistics statistics(&ADOQuery, this);
    statistics.TestKey = NvComboBox_Test->SelectedCode();
    statistics.exec();
}

void TForm_Main::MenuItem_ContentsClick()
{
    // Made on first use; it keeps its topics window and viewer for the rest of the run.
    if (!NvHelpFiles)
        NvHelpFiles = new TNvHelpFiles(this);
    NvHelpFiles->HelpFiles = HelpFilesSettings.HelpFiles;
    NvHelpFiles->SubDirectory = HelpFilesSettings.SubDirectory;
    NvHelpFiles->ShowHelpTopics();
}

void TForm_Main::MenuItem_AboutClick()
{
    NvAboutBox->Title = ProgramTitle();
    NvAboutBox->Version = QString::fromLatin1(ProgramVersion);
    NvAboutBox->Execute();
}

void TForm_Main::MenuItem_ExitClick()
{
    close();
}

// ---- Guarding the question: save warnings, the exit question, deletion -------------

int TForm_Main::InspectorDockWidth()
{
    // The name column fits the longest property name the inspector lists, so that
    // "CorrectAnswers" is never cut; the dock leaves the values room beside it.
    constexpr int defaultWidth = 200, valueRoom = 120;
    const int name = ObjectInspector ? ObjectInspector->FitNameColumn(ObjectInspectorSettings.SupportedProps) : 0;
    if (name == 0)
        return defaultWidth;
    return std::max(defaultWidth, name + valueRoom);
}

QList<QWidget *> TForm_Main::QuestionsOnSurface() const
{
    return ObjectInspector ? ObjectInspector->DesignedControls() : QList<QWidget *>();
}

bool TForm_Main::QuestionChanged() const
{
    const QList<QWidget *> controls = QuestionsOnSurface();
    if (controls.isEmpty())
        return false;
    if (controls.size() > 1 || FSavedText.isEmpty())
        return true;
    return ::SplitLines(ComponentToText(controls.first())).join(QStringLiteral("\r\n")) != FSavedText;
}

bool TForm_Main::ConfirmCloseQuestion()
{
    if (!QuestionChanged())
        return true;
    const int answer =
        SaveMsgDialog(QStringLiteral("Do you want to save changes to the current question before closing Corvella?"),
                      MsgConfirm, BtnYes | BtnNo | BtnCancel);
    if (answer == ResultYes)
        return ToolButton_SaveClick();
    return answer == ResultNo;
}

bool TForm_Main::ConfirmAnswerableQuestion(QWidget *control)
{
    const auto among = [](const QString &answer, const TStrings *choices) {
        for (const QString &choice : choices->Lines())
            if (TrimBlanks(choice).compare(TrimBlanks(answer), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    bool choiceKind = true;
    bool answerable = true;
    if (const auto *combo = qobject_cast<TQACombobox *>(control)) {
        answerable = among(combo->CorrectAnswer(), combo->Answers());
    } else if (const auto *radio = qobject_cast<TQARadioGroup *>(control)) {
        answerable = among(radio->CorrectAnswer(), radio->Answers());
    } else if (const auto *list = qobject_cast<TQAListbox *>(control)) {
        answerable = !list->CorrectAnswers()->IsEmpty();
        for (const QString &wanted : list->CorrectAnswers()->Lines())
            answerable = answerable && among(wanted, list->Answers());
    } else {
        choiceKind = false;
    }
    const auto *question = dynamic_cast<const TQuestionControl *>(control);
    const bool hasText = !question || !question->Question().trimmed().isEmpty();
    QStringList problems;
    if (!hasText)
        problems << QStringLiteral("The question has no text.");
    if (choiceKind && !answerable)
        problems << QStringLiteral("Its correct answer is not one of its choices.");
    if (problems.isEmpty())
        return true;
    problems << QStringLiteral("No student can answer it right. Do you want to save it anyway?");
    return SaveMsgDialog(problems.join(QStringLiteral("\r\n")), MsgWarning, BtnYes | BtnNo) == ResultYes;
}

void TForm_Main::ObjectInspectorDelete()
{
    if (!QuestionsOnSurface().isEmpty())
        return;
    FSavedText.clear();
    ReleaseKindButtons();
    EnableKindButtons(true);
}

} // namespace Corvella

namespace Corvella {

namespace {

const QString GiftFilter = QStringLiteral("GIFT files (*.gift *.txt);;All files (*)");

} // namespace

void TForm_Main::MenuItem_ImportQuestionsClick()
{
    const QString path = OpenFileDialog(this, QStringLiteral("Import Questions"), QString(), GiftFilter);
    if (path.isEmpty())
        return;
    QList<TGiftQuestion> questions;
    QString error;
    if (!ReadGiftFile(path, questions, &error)) {
        SaveMsgDialog(error, MsgError, BtnOK);
        return;
    }
    // Like a save, the import also fills the test chosen in the test list.
    TGiftImportTarget target;
    if (NvComboBox_Test->ItemIndex() >= 0 && IsValidInteger(NvComboBox_Test->SelectedCode()))
        target.TestID = NvComboBox_Test->SelectedCode();
    TGiftImportResult result;
    if (!ImportGiftQuestions(ADOQuery, questions, target, result, &error)) {
        SaveMsgDialog(QStringLiteral("Nothing was imported: ") + error, MsgError, BtnOK);
        return;
    }
    QString summary = result.Summary();
    if (!target.TestID.isEmpty() && result.Imported > 0)
        summary += QStringLiteral(" They were added to the test \"%1\".").arg(NvComboBox_Test->Text());
    SaveMsgDialog(summary + QStringLiteral("\r\n\r\n") + result.Lines.join(QStringLiteral("\r\n")), MsgInformation,
                  BtnOK);
}

void TForm_Main::MenuItem_ExportTestClick()
{
    if (NvComboBox_Test->ItemIndex() < 0 || !IsValidInteger(NvComboBox_Test->SelectedCode())) {
        SaveMsgDialog(QStringLiteral("Choose the test to export in the test list first."), MsgInformation, BtnOK);
        return;
    }
    const QString testID = NvComboBox_Test->SelectedCode();
    const QString testName = NvComboBox_Test->Text();
    QString gift;
    QStringList notes;
    QString error;
    int count = 0;
    if (!ExportTestAsGift(ADOQuery, testID, gift, &notes, &error, &count)) {
        SaveMsgDialog(error, MsgError, BtnOK);
        return;
    }
    // The test's name as the file's, without the characters file names cannot hold.
    QString fileName = testName;
    fileName.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    const QString path =
        SaveFileDialog(this, QStringLiteral("Export Test"), fileName + QStringLiteral(".gift"), GiftFilter);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(gift.toUtf8()) < 0 || !file.commit()) {
        SaveMsgDialog(QStringLiteral("The test could not be exported to %1: %2").arg(path, file.errorString()),
                      MsgError, BtnOK);
        return;
    }
    QString text = QStringLiteral("%1 question%2 of the test \"%3\" exported to %4.")
                       .arg(count)
                       .arg(count == 1 ? QString() : QStringLiteral("s"))
                       .arg(testName, path);
    if (!notes.isEmpty())
        text += QStringLiteral("\r\n\r\n") + notes.join(QStringLiteral("\r\n"));
    SaveMsgDialog(text, notes.isEmpty() ? MsgInformation : MsgWarning, BtnOK);
}

} // namespace Corvella
