#pragma once

#include "authoring/PrintChoice.h"
#include "database/Database.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QDockWidget;
class QMenu;
class QToolBar;
class QStatusBar;
class QToolButton;
class TNvAboutBox;
class TNvComboBox;
class TNvSplashScreen;
class TForm_DesignForm;

// Built by the designer, printing and help libraries; the main window holds them
// once they exist.
class TObjectInspector;
class TNvPrintPreview;
class TNvHelpFiles;

namespace Corvella {

// How the main window sets up its designer component; ConfigureObjectInspector
// hands these to it.
struct TObjectInspectorSettings {
    bool AllowDeletes = true;
    QStringList BitMaskProps{QStringLiteral("Color"), QStringLiteral("DragKind")};
    bool BitMaskTags = true;
    bool ClearCutBufferOnPaste = false;
    bool CutAndPaste = false;
    QStringList EditButtonProps{QStringLiteral("Course"), QStringLiteral("CorrectAnswer"),
                                QStringLiteral("CorrectAnswers")};
    int GridX = 8;
    int GridY = 8;
    bool SnapToGrid = true;
    bool ShowDescriptions = false;
    bool DisplayGrid = true;
    bool EmptySurfaceActions = false;
    int InspectorLeft = 0;
    int InspectorTop = 50;
    int InspectorWidth = 230;
    int InspectorHeight = 600;
    QStringList SupportedProps{QStringLiteral("Answers"),
                               QStringLiteral("Chapter"),
                               QStringLiteral("CharCase"),
                               QStringLiteral("Columns"),
                               QStringLiteral("CorrectAnswer"),
                               QStringLiteral("CorrectAnswers"),
                               QStringLiteral("Course"),
                               QStringLiteral("EditMask"),
                               QStringLiteral("Font"),
                               QStringLiteral("Height"),
                               QStringLiteral("ID"),
                               QStringLiteral("MultiSelect"),
                               QStringLiteral("Question"),
                               QStringLiteral("Sorted"),
                               QStringLiteral("Width")};
    QStringList UnEditableProps{QStringLiteral("ID")};
    // The classes the designer may build from object text, in this order.
    QStringList ControlClasses{QStringLiteral("TQAMaskEdit"), QStringLiteral("TQACombobox"),
                               QStringLiteral("TQADateTime"), QStringLiteral("TQARadioGroup"),
                               QStringLiteral("TQAListbox"),  QStringLiteral("TQARichEdit")};
};

// The help pages offered by the Help menu, ready for the help viewer's component.
struct THelpFilesSettings {
    QString SubDirectory = QStringLiteral("Help");
    QStringList HelpFiles{QStringLiteral("CorvellaQuestionSetup.htm=Creating Test Questions"),
                          QStringLiteral("HelpCorvella.htm=Corvella Help"),
                          QStringLiteral("HelpTamberlin.htm=Tamberlin Help")};
};

// The test chosen by the last test selection; read by printing.
struct TCurrentTest {
    int ID = 0;
    QString Name;
    QString Subtitle;
    QString Instructions;
    int Columns = 2;
    bool AnswerKey = false;
};

// The class chosen by the last class selection.
struct TCurrentClass {
    int ID = 0;
    QString Name;
    QString Course;
    QString Teacher;
    QString Chapter;
};

// How a save stores the question: as a new row or over the row of its ID.
enum class TStoreMode { Add, Update };

// Corvella's main window: the design surface with the inspector docked at the left,
// the tool bars and the test list above, the menus, and the commands that open every
// other window. It owns the program's one connection and statement object.
class TForm_Main : public QMainWindow {
    Q_OBJECT

public:
    // connectionText: the composed connection text (provider part and data source).
    explicit TForm_Main(const QString &connectionText, QWidget *parent = nullptr);
    ~TForm_Main() override;

    static QString ProgramTitle();

    // The program's one connection and the statement object every window uses.
    TDbConnection ADOConnection;
    TDbQuery ADOQuery;
    QString ConnectionText;

    TObjectInspectorSettings ObjectInspectorSettings;
    THelpFilesSettings HelpFilesSettings;
    TObjectInspector *ObjectInspector = nullptr; // the designer component; freed on closing
    // The template of the design surface; when none is given before the window is
    // first shown, the window makes its own.
    QWidget *Form_DesignForm = nullptr;
    TNvPrintPreview *NvPrintPreview = nullptr; // the program's preview window component
    TNvHelpFiles *NvHelpFiles = nullptr; // the help viewer component

    TNvSplashScreen *NvSplashScreen = nullptr;
    TNvAboutBox *NvAboutBox = nullptr;

    TCurrentTest CurrentTest;
    TCurrentClass CurrentClass;

    // The print and preview command with the lists it keeps while a printout is under way.
    TTestPrintout Printout;

    // Layout.
    QToolBar *ToolBar_Controls = nullptr;
    QToolBar *ToolBar_Standard = nullptr;
    QToolBar *ToolBar_Test = nullptr;
    TNvComboBox *NvComboBox_Test = nullptr;
    QWidget *Panel_Design = nullptr; // the design surface's place, the client area
    QWidget *Panel_Controls = nullptr; // hidden parent of questions rebuilt for printing
    QDockWidget *InspectorDock = nullptr;

    QToolButton *ToolButton_Clear = nullptr;
    QToolButton *ToolButton_Open = nullptr;
    QToolButton *ToolButton_Save = nullptr;
    QToolButton *ToolButton_MaskEdit = nullptr;
    QToolButton *ToolButton_Combo = nullptr;
    QToolButton *ToolButton_RadioGroup = nullptr;
    QToolButton *ToolButton_List = nullptr;
    QToolButton *ToolButton_Memo = nullptr;
    QToolButton *ToolButton_DateTime = nullptr;
    QToolButton *ToolButton_Wizard = nullptr;
    QToolButton *ToolButton_Tests = nullptr;
    QToolButton *ToolButton_Join = nullptr;
    QToolButton *ToolButton_PrintPreview = nullptr;
    QToolButton *ToolButton_Print = nullptr;
    QToolButton *ToolButton_BeginTesting = nullptr;

    // Menus.
    QMenu *MenuItem_File = nullptr;
    QAction *MenuItem_ImportQuestions = nullptr;
    QAction *MenuItem_ExportTest = nullptr;
    QAction *MenuItem_Exit = nullptr;
    QMenu *MenuItem_Question = nullptr;
    QAction *MenuItem_Clear = nullptr;
    QMenu *MenuItem_Controls = nullptr; // "New"
    QAction *MenuItem_Editbox = nullptr;
    QAction *MenuItem_Combobox = nullptr;
    QAction *MenuItem_RadioGroup = nullptr;
    QAction *MenuItem_ListBox = nullptr;
    QAction *MenuItem_Memo = nullptr;
    QAction *MenuItem_DateTime = nullptr;
    QAction *MenuItem_Open = nullptr;
    QAction *MenuItem_Save = nullptr;
    QAction *MenuItem_Delete = nullptr;
    QAction *MenuItem_Wizard = nullptr;
    QMenu *MenuItem_Test = nullptr;
    QAction *MenuItem_EditTest = nullptr;
    QAction *MenuItem_AddQuestions = nullptr;
    QAction *MenuItem_PrintPreview = nullptr;
    QAction *MenuItem_Print = nullptr;
    QAction *MenuItem_BeginTesting = nullptr;
    QMenu *MenuItem_Students = nullptr;
    QAction *MenuItem_EditStudents = nullptr;
    QMenu *MenuItem_Classes = nullptr;
    QAction *MenuItem_NewClass = nullptr;
    QAction *MenuItem_AddStudents = nullptr;
    QAction *MenuItem_AddTests = nullptr;
    QMenu *MenuItem_GradeBook = nullptr;
    QAction *MenuItem_EditGradebook = nullptr;
    QAction *MenuItem_QuestionStatistics = nullptr;
    QMenu *MenuItem_Help = nullptr;
    QAction *MenuItem_Contents = nullptr;
    QAction *MenuItem_HelpDivider = nullptr;
    QAction *MenuItem_About = nullptr;

    // Start-up and lifecycle.
    void FormShow();
    bool StartedUp() const { return FStartedUp; } // FormShow has run
    void LoadTestList();
    void ConfigureObjectInspector();
    bool ActivateDesigner();

    // The left dock panel: only the inspector docks there.
    void DockInspector(QDockWidget *inspector);
    bool Panel_LeftDockDockOver(const QDockWidget *source) const;
    void Panel_LeftDockDockDrop();
    int Panel_LeftDockWidth() const; // 0 when nothing is docked
    bool VSplitterVisible() const;

    // Keys and menu enabling.
    void NvComboBox_TestKeyDown(int key);
    void MenuItem_FileClick();
    void MenuItem_QuestionClick();
    void MenuItem_ControlsClick();
    void MenuItem_HelpClick();
    void ObjectInspectorMenuPopup(QMenu *controlMenu, int selectedCount);

    // Tool-bar states of the question commands.
    void EnableKindButtons(bool enabled);
    void ReleaseKindButtons();
    void UpdateCorrectAnswerButton(QWidget *control);

    // The question being designed and the question bank.
    QWidget *DesignSurface() const;
    int SelectedCount() const;
    QWidget *SelectedControl() const; // the only selected control; nullptr otherwise
    QString PropertyValue(const QString &name) const; // empty when there is no such row
    QString NextQuestionID();
    bool StoreQuestion(TStoreMode mode, const QString &question, const QString &control, const QString &name,
                       const QString &id);
    bool DeleteQuestionRows(const QString &id);
    bool AddQuestionToSelectedTest(const QString &questionID);
    int NextTestSequence(const QString &testID);
    bool TestHasQuestion(const QString &testID, const QString &questionID);
    // The status line under the design surface: what the last Save did.
    QStatusBar *StatusBar = nullptr;
    // Save warns of a question no student can answer right (no text, a correct answer
    // that is not one of the choices); true when it is to be stored all the same.
    bool ConfirmAnswerableQuestion(QWidget *control);
    // The question controls on the design surface.
    QList<QWidget *> QuestionsOnSurface() const;
    // A question on the surface that was never saved or changed since it was saved or opened.
    bool QuestionChanged() const;
    // Exit and the close box: asks to save a changed question; false when the window stays.
    bool ConfirmCloseQuestion();
    // After a deletion: with no question left, the kind buttons are usable again.
    void ObjectInspectorDelete();
    // Start-up width of the docked inspector; widens its name column to the longest name.
    int InspectorDockWidth();

    // Question commands; each kind's tool button runs its menu entry's handler.
    void MenuItem_EditboxClick();
    void MenuItem_ComboboxClick();
    void MenuItem_RadioGroupClick();
    void MenuItem_ListBoxClick();
    void MenuItem_MemoClick();
    void MenuItem_DateTimeClick();
    void ToolButton_ClearClick();
    void ToolButton_OpenClick();
    // True when the question was stored (or there is no surface to save from).
    bool ToolButton_SaveClick();
    void MenuItem_DeleteClick();
    void MenuItem_WizardClick();
    void ObjectInspectorCreateControl(QWidget *control);
    void ObjectInspectorBeforeDelete(bool &canDelete);
    void ObjectInspectorEditButtonClick();

    // Record-keeping, testing, printing and help commands.
    void ToolButton_TestsClick();
    void ToolButton_JoinClick();
    void ToolButton_BeginTestingClick();
    void ToolButton_PrintPreviewClick();
    void ToolButton_PrintClick();
    // The questions-in-test window's Preview: the test kept from the picking, no picker.
    void PreviewJoinedTest();
    void MenuItem_EditStudentsClick();
    void MenuItem_NewClassClick();
    void MenuItem_AddStudentsClick();
    void MenuItem_AddTestsClick();
    void MenuItem_EditGradebookClick();
    void MenuItem_QuestionStatisticsClick();
    void MenuItem_ContentsClick();
    void MenuItem_AboutClick();
    void MenuItem_ExitClick();
    // Question exchange with GIFT files: into the bank (and the selected test), and
    // the selected test out.
    void MenuItem_ImportQuestionsClick();
    void MenuItem_ExportTestClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void childEvent(QChildEvent *event) override;

private:
    void CreateToolBars();
    void CreateMenus();
    QToolButton *AddToolButton(QToolBar *bar, const QString &name, const QString &hint, const QIcon &icon, bool check,
                               bool enabled);
    QAction *AddMenuItem(QMenu *menu, const QString &name, const QString &caption);
    void GuardDockWidget(QDockWidget *dock);
    void CentreOnScreen();
    QList<QToolButton *> ControlsButtons() const;
    void ReleaseDesigner();
    // Asks before deleting and deletes the rows; true when the question may go.
    bool ConfirmAndDeleteQuestion();
    // Arms the kind's button and creates a new question of the class on the surface.
    void NewQuestionOfKind(QToolButton *button, const QString &className);
    // Empties the surface and returns to the state without a question.
    void ClearQuestion();
    void RunPrintout(TPrintSender kind);
    // The class window in picking mode; false when cancelled or nothing was chosen.
    bool PickClass();

    TForm_DesignForm *FOwnTemplate = nullptr;
    // Object text of the question as last saved or opened; empty for a new question.
    QString FSavedText;
    bool FAddedToTest = false; // the last store appended the question to the chosen test

    bool FShown = false;
    bool FStartedUp = false;
};

} // namespace Corvella
