#include "common/TestDatabase.h"
#include "database/Database.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"

#include <QRadioButton>
#include <QtTest>

namespace {

QString Crlf(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

QWidget *Create(const QString &className, QObject *owner, QWidget *parent)
{
    RegisterQuestionClasses();
    return CreateComponent(className, owner, parent);
}

// Rebuilds a control from its text the way the loader does.
QWidget *Rebuild(const QString &text, QObject *owner, QWidget *parent)
{
    QStringList lines = SplitLines(text);
    lines.insert(0, ObjectLineClassName(lines.value(0)));
    return TextToQuestionControl(lines, owner, parent);
}

QString ReadError(const QString &text, QObject *owner, QWidget *parent)
{
    try {
        Rebuild(text, owner, parent);
    } catch (const Exception &e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

const char *const ExampleText = "object QAListbox_3: TQAListbox\n"
                                "  Left = 200\n"
                                "  Top = 150\n"
                                "  Width = 121\n"
                                "  Height = 97\n"
                                "  ExtendedSelect = False\n"
                                "  ItemHeight = 13\n"
                                "  Items.Strings = (\n"
                                "    'red'\n"
                                "    'green')\n"
                                "  MultiSelect = True\n"
                                "  TabOrder = 0\n"
                                "  Answers.Strings = (\n"
                                "    'red'\n"
                                "    'green')\n"
                                "  CorrectAnswers.Strings = (\n"
                                "    'green')\n"
                                "  ID = 3\n"
                                "  Question = 'Which of these is a colour of grass?'\n"
                                "end\n";

} // namespace

class TestQuestionModel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void constructionDefaults_data();
    void constructionDefaults();
    void answersAndItems();
    void dateAnswerSetter();
    void exampleTextByteForByte();
    void freshControlWrites_data();
    void freshControlWrites();
    void nonDefaultValueWritten_data();
    void nonDefaultValueWritten();
    void roundTrip_data();
    void roundTrip();
    void comboOffersAnswersAfterLoading();
    void loadSuffixes();
    void classKey_data();
    void classKey();
    void readErrors_data();
    void readErrors();
    void duplicateNameKeepsControlOffParent();
    void dateValuesReadBack();
    void fontRules();
    void inspectorValues();
    void studentResponses();
    void reportObjects();
    void loadTestFromDatabase();

private:
    QWidget *FForm = nullptr;
};

void TestQuestionModel::initTestCase()
{
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
    RegisterQuestionClasses();
}

void TestQuestionModel::init()
{
    delete FForm;
    FForm = new QWidget;
    FForm->resize(800, 600);
}

void TestQuestionModel::constructionDefaults_data()
{
    QTest::addColumn<QString>("className");
    for (const char *name : {"TQAMaskEdit", "TQACombobox", "TQARadioGroup", "TQAListbox", "TQARichEdit", "TQADateTime"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestQuestionModel::constructionDefaults()
{
    QFETCH(QString, className);
    QWidget *control = Create(className, FForm, nullptr);
    QCOMPARE(ComponentClassName(control), className);
    QCOMPARE(ComponentOwner(control), FForm);
    QCOMPARE(GetOrdProp(control, QStringLiteral("ID")), 0);
    QCOMPARE(GetStrProp(control, QStringLiteral("Question")), QString());
    QCOMPARE(GetOrdProp(control, QStringLiteral("TabOrder")), -1);
    QCOMPARE(GetOrdProp(control, QStringLiteral("ParentFont")), 1);
    QCOMPARE(GetOrdProp(control, QStringLiteral("Enabled")), 1);
    QCOMPARE(GetOrdProp(control, QStringLiteral("Visible")), 1);
    if (const TPropInfo *p = FindProperty(control, QStringLiteral("CorrectAnswer")))
        QCOMPARE(p->GetStr(PropObjectOf(control).Self), QString());
    for (const char *list : {"Answers", "CorrectAnswers", "Items", "Lines"})
        if (FindProperty(control, QLatin1String(list)))
            QCOMPARE(GetPropValue(control, QLatin1String(list) + QLatin1String(".Strings")), QString());
    if (FindProperty(control, QStringLiteral("DateAnswer")))
        QCOMPARE(GetFloatProp(control, QStringLiteral("DateAnswer")), 0.0);

    // Placed on a parent, a control joins the tab order after the ones already there.
    QWidget *second = Create(className, FForm, FForm);
    QWidget *third = Create(className, FForm, FForm);
    QCOMPARE(GetOrdProp(second, QStringLiteral("TabOrder")), 0);
    QCOMPARE(GetOrdProp(third, QStringLiteral("TabOrder")), 1);
    QCOMPARE(OwnedComponents(FForm).size(), 3);
}

void TestQuestionModel::answersAndItems()
{
    QStringList source{QStringLiteral("Paris"), QStringLiteral("Rome"), QStringLiteral("Oslo")};

    auto *radio = new TQARadioGroup(FForm, FForm);
    radio->SetAnswers(source);
    QCOMPARE(radio->ButtonCount(), 3);
    QCOMPARE(radio->Button(1)->text(), QStringLiteral("Rome"));
    QCOMPARE(radio->Items()->Lines(), source);

    auto *list = new TQAListbox(FForm, FForm);
    list->SetAnswers(source);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->Items()->Lines(), source);

    auto *combo = new TQACombobox(FForm, FForm);
    combo->SetAnswers(source);
    QCOMPARE(combo->Answers()->Lines(), source);
    QCOMPARE(combo->Items()->Count(), 0);
    QCOMPARE(combo->count(), 0);

    // The lines were copied: changing the source later leaves the controls alone.
    source[0] = QStringLiteral("Madrid");
    QCOMPARE(radio->Answers()->Strings(0), QStringLiteral("Paris"));
    QCOMPARE(list->Answers()->Strings(0), QStringLiteral("Paris"));
    QCOMPARE(combo->Answers()->Strings(0), QStringLiteral("Paris"));

    // Assigning through the property model follows the same rules.
    TStrings two;
    two.Assign(QStringList{QStringLiteral("a"), QStringLiteral("b")});
    const TPropInfo *answers = FindProperty(radio, QStringLiteral("Answers"));
    answers->SetObj(PropObjectOf(radio).Self, &two);
    QCOMPARE(radio->ButtonCount(), 2);
}

void TestQuestionModel::dateAnswerSetter()
{
    auto *date = new TQADateTime(FForm, FForm);
    date->SetCorrectAnswer(QStringLiteral("04/07/1776"));
    QCOMPARE(date->DateAnswer(), DateToDayNumber(QDate(1776, 7, 4)));
    date->SetCorrectAnswer(QStringLiteral("the day after tomorrow"));
    QCOMPARE(date->CorrectAnswer(), QStringLiteral("the day after tomorrow"));
    QCOMPARE(date->DateAnswer(), DateToDayNumber(QDate(1776, 7, 4)));

    // The same rule when the text is read.
    QWidget *read = Rebuild(Crlf("object QADateTime_8: TQADateTime\n  CorrectAnswer = '14/10/1066'\n  ID = 8\nend\n"),
                            FForm, FForm);
    QCOMPARE(static_cast<TQADateTime *>(read)->DateAnswer(), DateToDayNumber(QDate(1066, 10, 14)));
}

void TestQuestionModel::exampleTextByteForByte()
{
    auto *list = new TQAListbox(FForm, FForm);
    list->setObjectName(QStringLiteral("QAListbox_3"));
    list->SetLeft(200);
    list->SetTop(150);
    list->SetExtendedSelect(false);
    list->SetMultiSelect(true);
    list->SetAnswers(QStringList{QStringLiteral("red"), QStringLiteral("green")});
    list->SetCorrectAnswers(QStringList{QStringLiteral("green")});
    list->SetID(3);
    list->SetQuestion(QStringLiteral("Which of these is a colour of grass?"));
    QCOMPARE(ComponentToText(list), Crlf(QString::fromLatin1(ExampleText)));

    // And read back into another window, it writes the same text again.
    QWidget other;
    QWidget *copy = Rebuild(Crlf(QString::fromLatin1(ExampleText)), &other, &other);
    QVERIFY(copy);
    QCOMPARE(ComponentToText(copy), Crlf(QString::fromLatin1(ExampleText)));
}

void TestQuestionModel::freshControlWrites_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("paths");
    QTest::newRow("mask edit") << "TQAMaskEdit"
                               << "Left Top Width Height TabOrder ID";
    QTest::newRow("combo box") << "TQACombobox"
                               << "Left Top Width Height ItemHeight TabOrder ID";
    QTest::newRow("radio group") << "TQARadioGroup"
                                 << "Left Top Width Height TabOrder ID";
    QTest::newRow("list box") << "TQAListbox"
                              << "Left Top Width Height ItemHeight TabOrder ID";
    QTest::newRow("memo") << "TQARichEdit"
                          << "Left Top Width Height TabOrder ID";
    QTest::newRow("date") << "TQADateTime"
                          << "Left Top Width Height CalAlignment Date Time DateFormat DateMode Kind ParseInput "
                             "TabOrder ID";
}

// Everything but the properties that are always written keeps its default.
void TestQuestionModel::freshControlWrites()
{
    QFETCH(QString, className);
    QFETCH(QString, paths);
    QWidget *control = Create(className, FForm, FForm);
    QStringList written;
    for (const TTextProperty &property : ComponentToTextObject(control).Properties)
        written << property.Path;
    QCOMPARE(written.join(QLatin1Char(' ')), paths);
}

void TestQuestionModel::nonDefaultValueWritten_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("lines"); // what the text then holds; | between separate runs of lines

    QTest::newRow("combo style") << "TQACombobox"
                                 << "Style"
                                 << "csDropDownList"
                                 << "  Style = csDropDownList";
    QTest::newRow("combo drop-down count") << "TQACombobox"
                                           << "DropDownCount"
                                           << "12"
                                           << "  DropDownCount = 12";
    QTest::newRow("combo text") << "TQACombobox"
                                << "Text"
                                << "typed"
                                << "  Text = 'typed'";
    QTest::newRow("radio caption") << "TQARadioGroup"
                                   << "Caption"
                                   << "Pick one"
                                   << "  Caption = 'Pick one'";
    QTest::newRow("radio columns") << "TQARadioGroup"
                                   << "Columns"
                                   << "3"
                                   << "  Columns = 3";
    QTest::newRow("radio colour") << "TQARadioGroup"
                                  << "Color"
                                  << "clRed"
                                  << "  Color = clRed|  ParentColor = False";
    QTest::newRow("list extended select") << "TQAListbox"
                                          << "ExtendedSelect"
                                          << "False"
                                          << "  ExtendedSelect = False";
    QTest::newRow("list style") << "TQAListbox"
                                << "Style"
                                << "lbOwnerDrawFixed"
                                << "  Style = lbOwnerDrawFixed";
    QTest::newRow("edit char case") << "TQAMaskEdit"
                                    << "CharCase"
                                    << "ecLowerCase"
                                    << "  CharCase = ecLowerCase";
    QTest::newRow("edit password") << "TQAMaskEdit"
                                   << "PasswordChar"
                                   << "*"
                                   << "  PasswordChar = '*'";
    QTest::newRow("edit text") << "TQAMaskEdit"
                               << "Text"
                               << "abc"
                               << "  Text = 'abc'";
    QTest::newRow("edit anchors") << "TQAMaskEdit"
                                  << "Anchors"
                                  << "[akLeft,akTop,akRight]"
                                  << "  Anchors = [akLeft, akTop, akRight]";
    QTest::newRow("edit cursor") << "TQAMaskEdit"
                                 << "Cursor"
                                 << "crHandPoint"
                                 << "  Cursor = crHandPoint";
    QTest::newRow("edit constraints") << "TQAMaskEdit"
                                      << "Constraints.MaxWidth"
                                      << "300"
                                      << "  Constraints.MaxWidth = 300";
    QTest::newRow("memo lines") << "TQARichEdit"
                                << "Lines.Strings"
                                << "one\r\ntwo"
                                << "  Lines.Strings = (\n    'one'\n    'two')";
    QTest::newRow("memo scroll bars") << "TQARichEdit"
                                      << "ScrollBars"
                                      << "ssBoth"
                                      << "  ScrollBars = ssBoth";
    QTest::newRow("memo word wrap") << "TQARichEdit"
                                    << "WordWrap"
                                    << "False"
                                    << "  WordWrap = False";
    QTest::newRow("date kind") << "TQADateTime"
                               << "Kind"
                               << "dtkTime"
                               << "  Kind = dtkTime";
    QTest::newRow("date checked") << "TQADateTime"
                                  << "Checked"
                                  << "False"
                                  << "  Checked = False";
    QTest::newRow("calendar colour") << "TQADateTime"
                                     << "CalColors.TitleBackColor"
                                     << "clNavy"
                                     << "  CalColors.TitleBackColor = clNavy";
    QTest::newRow("hint shown") << "TQADateTime"
                                << "ShowHint"
                                << "True"
                                << "  ParentShowHint = False|  ShowHint = True";
}

void TestQuestionModel::nonDefaultValueWritten()
{
    QFETCH(QString, className);
    QFETCH(QString, path);
    QFETCH(QString, value);
    QFETCH(QString, lines);
    lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));

    QWidget *control = Create(className, FForm, FForm);
    control->setObjectName(QStringLiteral("Q_1"));
    SetPropValue(control, path, value);
    const QString text = ComponentToText(control);
    for (const QString &run : lines.split(QLatin1Char('|')))
        QVERIFY2(text.contains(run + QLatin1String("\r\n")), qPrintable(text));

    QWidget other;
    QWidget *copy = Rebuild(text, &other, &other);
    QCOMPARE(GetPropValue(copy, path), GetPropValue(control, path));
    QCOMPARE(ComponentToText(copy), text);
}

// Every property the inspector offers, set to a value other than its default.
void TestQuestionModel::roundTrip_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("settings"); // path=value, as the inspector would set them

    const QStringList common{QStringLiteral("Font.Name=Courier New"),
                             QStringLiteral("Font.Style=[fsBold,fsItalic]"),
                             QStringLiteral("Font.Color=clMaroon"),
                             QStringLiteral("Font.Height=-16"),
                             QStringLiteral("Height=60"),
                             QStringLiteral("Width=222"),
                             QStringLiteral("ID=17"),
                             QStringLiteral("Question=What's the capital of Norway?\r\nOne word.")};
    QTest::newRow("mask edit") << "TQAMaskEdit"
                               << common + QStringList{QStringLiteral("CharCase=ecUpperCase"),
                                                       QStringLiteral("CorrectAnswer=OSLO"),
                                                       QStringLiteral("EditMask=>LLLL;1;_")};
    QTest::newRow("combo box") << "TQACombobox"
                               << common + QStringList{QStringLiteral("Answers.Strings=Oslo\r\nBergen"),
                                                       QStringLiteral("CorrectAnswer=Oslo"),
                                                       QStringLiteral("Items.Strings=Oslo\r\nBergen"),
                                                       QStringLiteral("Sorted=True"),
                                                       QStringLiteral("Style=csDropDownList")};
    QTest::newRow("radio group") << "TQARadioGroup"
                                 << common + QStringList{QStringLiteral("Answers.Strings=Oslo\r\nBergen\r\nTromsø"),
                                                         QStringLiteral("Columns=2"),
                                                         QStringLiteral("CorrectAnswer=Oslo")};
    QTest::newRow("list box") << "TQAListbox"
                              << common + QStringList{QStringLiteral("Answers.Strings=Oslo\r\nBergen"),
                                                      QStringLiteral("Columns=3"), QStringLiteral("Sorted=True"),
                                                      QStringLiteral("CorrectAnswers.Strings=Bergen\r\nOslo"),
                                                      QStringLiteral("MultiSelect=True")};
    QTest::newRow("memo") << "TQARichEdit"
                          << common + QStringList{QStringLiteral("CorrectAnswer=It is Oslo.\r\nSince 1814.")};
    QTest::newRow("date") << "TQADateTime" << common + QStringList{QStringLiteral("CorrectAnswer=17/05/1814")};
}

void TestQuestionModel::roundTrip()
{
    QFETCH(QString, className);
    QFETCH(QStringList, settings);

    QWidget *control = Create(className, FForm, FForm);
    control->setObjectName(className.mid(1) + QStringLiteral("_17"));
    for (const QString &setting : settings) {
        const qsizetype eq = setting.indexOf(QLatin1Char('='));
        SetPropValue(control, setting.left(eq), setting.mid(eq + 1));
    }
    QCOMPARE(GetOrdProp(control, QStringLiteral("ParentFont")), 0);
    const QString text = ComponentToText(control);
    QVERIFY2(text.contains(QStringLiteral("  ParentFont = False\r\n")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("  Font.Charset = DEFAULT_CHARSET\r\n")));

    QWidget other;
    QWidget *copy = Rebuild(text, &other, &other);
    QVERIFY(copy);
    QCOMPARE(ComponentClassName(copy), className);
    for (const QString &setting : settings) {
        const qsizetype eq = setting.indexOf(QLatin1Char('='));
        QCOMPARE(GetPropValue(copy, setting.left(eq)), GetPropValue(control, setting.left(eq)));
    }
    QCOMPARE(ComponentToText(copy), text);
}

void TestQuestionModel::comboOffersAnswersAfterLoading()
{
    QWidget *control = Rebuild(Crlf("object QACombobox_5: TQACombobox\n"
                                    "  Style = csDropDownList\n"
                                    "  Items.Strings = (\n    'old'\n    'stale')\n"
                                    "  Answers.Strings = (\n    'Nile'\n    'Amazon'\n    'Danube')\n"
                                    "  CorrectAnswer = 'Nile'\n  ID = 5\nend\n"),
                               FForm, FForm);
    auto *combo = qobject_cast<TQACombobox *>(control);
    QVERIFY(combo);
    const QStringList answers{QStringLiteral("Nile"), QStringLiteral("Amazon"), QStringLiteral("Danube")};
    QCOMPARE(combo->Items()->Lines(), answers);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(2), QStringLiteral("Danube"));
    QVERIFY(!combo->isEditable());
    QCOMPARE(combo->Text(), QString());
    combo->setCurrentIndex(1);
    QCOMPARE(combo->Text(), QStringLiteral("Amazon"));
}

void TestQuestionModel::loadSuffixes()
{
    const QString edit4 = Crlf("object QAMaskEdit_4: TQAMaskEdit\n  ID = 4\n  Question = 'Four?'\nend\n");
    const QString edit9 = Crlf("object QAMaskEdit_9: TQAMaskEdit\n  ID = 9\nend\n");
    const QString combo5 = Crlf("object QACombobox_5: TQACombobox\n  ID = 5\nend\n");
    TControlDefList defs;
    for (const QString &text : {edit4, edit9, combo5, edit4})
        defs.append({QString(), TControlDef{0, QString(), QString(), text}});
    defs.append({QString(), TControlDef{0, QString(), QString(), Crlf("object Foo_1: TFoo\nend\n")}});

    TQuestionControlList controls;
    CreateQuestionControls(defs, controls, FForm, FForm);
    QCOMPARE(controls.size(), 5);
    QCOMPARE(controls[0].Control->objectName(), QStringLiteral("QAMaskEdit_4_1"));
    QCOMPARE(controls[0].Text, QStringLiteral("Four?"));
    QCOMPARE(controls[1].Control->objectName(), QStringLiteral("QAMaskEdit_9_2"));
    QCOMPARE(controls[2].Control->objectName(), QStringLiteral("QACombobox_5_1"));
    QCOMPARE(controls[3].Control->objectName(), QStringLiteral("QAMaskEdit_4_3"));
    QVERIFY(controls[4].Control.isNull());
    QCOMPARE(controls[4].Text, QString());
    QCOMPARE(CountSameClass(controls[0].Control, FForm), 2);
}

void TestQuestionModel::classKey_data()
{
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("className"); // empty: no control

    QTest::newRow("as written") << "object QAMaskEdit_4: TQAMaskEdit"
                                << "TQAMASKEDIT"
                                << "TQAMaskEdit";
    QTest::newRow("lower case") << "object qamaskedit_4: tqamaskedit"
                                << "TQAMASKEDIT"
                                << "TQAMaskEdit";
    QTest::newRow("blanks around") << "object A:\t TQARadioGroup  "
                                   << "TQARADIOGROUP"
                                   << "TQARadioGroup";
    QTest::newRow("no name") << "object TQAMaskEdit"
                             << "object TQAMaskEdit"
                             << "";
    QTest::newRow("other class") << "object Button1: TButton"
                                 << "TBUTTON"
                                 << "";
}

void TestQuestionModel::classKey()
{
    QFETCH(QString, firstLine);
    QFETCH(QString, key);
    QFETCH(QString, className);
    QCOMPARE(ObjectLineClassName(firstLine), key);
    const int before = static_cast<int>(OwnedComponents(FForm).size());
    QWidget *control = Rebuild(firstLine + QStringLiteral("\r\n  ID = 4\r\nend\r\n"), FForm, FForm);
    QCOMPARE(ComponentClassName(control), className);
    QCOMPARE(static_cast<int>(OwnedComponents(FForm).size()), before + (className.isEmpty() ? 0 : 1));
}

void TestQuestionModel::readErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("unknown property") << "object QAMaskEdit_4: TQAMaskEdit\n  Foo = 1\nend\n"
                                      << "Error reading QAMaskEdit_4.Foo: Property does not exist";
    QTest::newRow("unknown sub-property") << "object QAListbox_2: TQAListbox\n  Font.Weight = 3\nend\n"
                                          << "Error reading QAListbox_2.Font.Weight: Property does not exist";
    QTest::newRow("path through a number") << "object QAListbox_2: TQAListbox\n  Left.X = 3\nend\n"
                                           << "Error reading QAListbox_2.Left.X: Property does not exist";
    QTest::newRow("string for integer") << "object QAMaskEdit_4: TQAMaskEdit\n  Left = 'ten'\nend\n"
                                        << "Error reading QAMaskEdit_4.Left: Invalid property value";
    QTest::newRow("unknown enumeration") << "object QACombobox_1: TQACombobox\n  Style = csFancy\nend\n"
                                         << "Error reading QACombobox_1.Style: Invalid property value";
    QTest::newRow("unknown set element") << "object QAMaskEdit_4: TQAMaskEdit\n  Font.Style = [fsHuge]\nend\n"
                                         << "Error reading QAMaskEdit_4.Font.Style: Invalid property value";
    QTest::newRow("number in list") << "object QAListbox_2: TQAListbox\n  Items.Strings = (\n    1)\nend\n"
                                    << "Error reading QAListbox_2.Items.Strings: Invalid property value";
    QTest::newRow("integer out of range") << "object QAMaskEdit_4: TQAMaskEdit\n  ID = 99999999999\nend\n"
                                          << "Error reading QAMaskEdit_4.ID: Invalid property value";
    QTest::newRow("value for a list object") << "object QAListbox_2: TQAListbox\n  Items = 'x'\nend\n"
                                             << "Error reading QAListbox_2.Items: Invalid property value";
    QTest::newRow("unknown colour") << "object QARichEdit_1: TQARichEdit\n  Color = clMauve\nend\n"
                                    << "Error reading QARichEdit_1.Color: Invalid property value";
    QTest::newRow("syntax") << "object QAMaskEdit_4: TQAMaskEdit\n  Left 3\nend\n"
                            << "''='' expected on line 2";
}

void TestQuestionModel::readErrors()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    QCOMPARE(ReadError(Crlf(text), FForm, FForm), error);
}

void TestQuestionModel::duplicateNameKeepsControlOffParent()
{
    const QString text = Crlf("object QAMaskEdit_4: TQAMaskEdit\n  ID = 4\nend\n");
    QWidget *first = Rebuild(text, FForm, FForm);
    QVERIFY(first);
    QCOMPARE(ReadError(text, FForm, FForm), QStringLiteral("A component named QAMaskEdit_4 already exists"));
    QCOMPARE(ReadError(Crlf("object qamaskedit_4: TQARichEdit\nend\n"), FForm, FForm),
             QStringLiteral("A component named qamaskedit_4 already exists"));

    // The failed controls stay owned by the window, but not on its panel.
    const QList<QObject *> owned = OwnedComponents(FForm);
    QCOMPARE(owned.size(), 3);
    QCOMPARE(FForm->findChildren<TQAMaskEdit *>().size(), 1);
    QVERIFY(!qobject_cast<QWidget *>(owned.last())->isVisible());
    QVERIFY(FForm->findChildren<TQARichEdit *>().isEmpty());

    // A bad property also leaves the control off the panel.
    QVERIFY(ReadError(Crlf("object QAListbox_9: TQAListbox\n  Bar = 1\nend\n"), FForm, FForm).startsWith("Error"));
    QVERIFY(FForm->findChildren<TQAListbox *>().isEmpty());
    QCOMPARE(OwnedComponents(FForm).size(), 4);

    // The owner destroys them all.
    QPointer<QObject> failed = owned.last();
    delete FForm;
    FForm = nullptr;
    QVERIFY(failed.isNull());
}

void TestQuestionModel::dateValuesReadBack()
{
    auto *date = new TQADateTime(FForm, FForm);
    date->setObjectName(QStringLiteral("QADateTime_2"));
    date->SetDate(38123.0);
    date->SetTime(0.7291666666666666); // 17:30
    date->SetCorrectAnswer(QStringLiteral("12/10/1492"));
    date->SetMinDate(2.0);
    const double value = date->DateTime();
    const QString text = ComponentToText(date);
    QVERIFY2(text.contains(QStringLiteral("  Date = 38123.7291666667\r\n")), qPrintable(text));

    QWidget other;
    auto *copy = qobject_cast<TQADateTime *>(Rebuild(text, &other, &other));
    QVERIFY(copy);
    QVERIFY(qAbs(copy->DateTime() - value) < 1e-9);
    QCOMPARE(copy->PickedDate(), QDate(2004, 5, 16));
    QCOMPARE(copy->DateAnswer(), DateToDayNumber(QDate(1492, 10, 12)));
    QCOMPARE(copy->MinDate(), 2.0);
    QCOMPARE(ComponentToText(copy), text);

    // Setting the date keeps the time and the other way round.
    copy->SetDate(40000.25);
    QVERIFY(qAbs(copy->DateTime() - 40000.7291666667) < 1e-9);
    copy->SetTime(0.5);
    QCOMPARE(copy->DateTime(), 40000.5);
}

void TestQuestionModel::fontRules()
{
    auto *edit = new TQAMaskEdit(FForm, FForm);
    edit->setObjectName(QStringLiteral("QAMaskEdit_1"));
    QVERIFY(!ComponentToText(edit).contains(QStringLiteral("Font")));

    edit->Font()->SetSize(12);
    QCOMPARE(edit->Font()->Height(), -16);
    QCOMPARE(edit->ParentFont(), false);
    QCOMPARE(edit->font().pixelSize(), 16);
    const QString text = ComponentToText(edit);
    QVERIFY2(text.contains(Crlf("  Font.Charset = DEFAULT_CHARSET\n"
                                "  Font.Color = clWindowText\n"
                                "  Font.Height = -16\n"
                                "  Font.Name = 'MS Sans Serif'\n"
                                "  Font.Style = []\n")),
             qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("Font.Pitch")));
    QVERIFY(!text.contains(QStringLiteral("Font.Size")));
    edit->Font()->SetPitch(fpFixed);
    QVERIFY(ComponentToText(edit).contains(QStringLiteral("  Font.Pitch = fpFixed\r\n")));

    // Back to the parent's font: the sub-properties are no longer written.
    edit->SetParentFont(true);
    QVERIFY(!ComponentToText(edit).contains(QStringLiteral("Font.")));

    // Colours written as integers, also negative ones, read back as the named colour.
    QWidget *read = Rebuild(Crlf("object QAMaskEdit_2: TQAMaskEdit\n  Font.Color = -2147483643\n"
                                 "  Color = 12632256\n  ID = 2\nend\n"),
                            FForm, FForm);
    QCOMPARE(GetPropValue(read, QStringLiteral("Font.Color")), QStringLiteral("clWindow"));
    QCOMPARE(GetPropValue(read, QStringLiteral("Color")), QStringLiteral("clSilver"));
    QVERIFY(ComponentToText(read).contains(QStringLiteral("  Color = clSilver\r\n")));
}

void TestQuestionModel::inspectorValues()
{
    auto *list = new TQAListbox(FForm, FForm);
    const TPropObject object = PropObjectOf(list);
    QVERIFY(object.IsValid());
    auto row = [&](const char *name) {
        const TPropInfo *p = object.Class->Find(QLatin1String(name));
        return p ? PropertyTypeText(*p) + QLatin1Char('|') + GetPropText(object, *p) : QStringLiteral("(none)");
    };
    QCOMPARE(row("answers"), QStringLiteral("TStrings|(TStrings)"));
    QCOMPARE(row("Font"), QStringLiteral("TFont|(TFont)"));
    QCOMPARE(row("Color"), QStringLiteral("TColor|clWindow"));
    QCOMPARE(row("MultiSelect"), QStringLiteral("Boolean|False"));
    QCOMPARE(row("Style"), QStringLiteral("TListBoxStyle|lbStandard"));
    QCOMPARE(row("Width"), QStringLiteral("Integer|121"));
    QCOMPARE(row("Cursor"), QStringLiteral("|0"));
    QCOMPARE(row("Question"), QStringLiteral("String|"));
    QCOMPARE(row("OnClick"), QStringLiteral("|"));
    QCOMPARE(row("Foo"), QStringLiteral("(none)"));

    SetPropValue(list, QStringLiteral("Color"), QStringLiteral("12632256"));
    QCOMPARE(GetPropValue(list, QStringLiteral("Color")), QStringLiteral("clSilver"));
    SetPropValue(list, QStringLiteral("Color"), QStringLiteral("1234567"));
    QCOMPARE(GetPropValue(list, QStringLiteral("Color")), QStringLiteral("1234567"));
    QVERIFY_THROWS_EXCEPTION(Exception, SetPropValue(list, QStringLiteral("Width"), QStringLiteral("abc")));
    QVERIFY_THROWS_EXCEPTION(Exception, SetPropValue(list, QStringLiteral("Style"), QStringLiteral("lbFancy")));

    // Declared order as written, and the alphabetical list the inspector shows.
    const QStringList order = PublishedPropertyNames(QStringLiteral("TQAListbox"));
    QCOMPARE(order.mid(0, 5), QString("Tag Left Top Width Height").split(' '));
    QCOMPARE(order.mid(order.indexOf("Visible"), 5), QString("Visible Answers CorrectAnswers ID Question").split(' '));
    const QStringList sorted = PublishedPropertyNames(QStringLiteral("TQAListbox"), true);
    QCOMPARE(sorted.size(), order.size());
    QCOMPARE(sorted.first(), QStringLiteral("Align"));
    QVERIFY(sorted.indexOf("BiDiMode") < sorted.indexOf("BorderStyle"));

    // The designer's registry, in its fixed order, creates by class name ignoring case.
    QStringList registered;
    for (const TClassInfo *info : RegisteredClasses())
        registered << info->ClassName;
    QCOMPARE(registered,
             QString("TQAMaskEdit TQACombobox TQADateTime TQARadioGroup TQAListbox TQARichEdit").split(' '));
    QCOMPARE(ComponentClassName(CreateComponent(QStringLiteral("tqarichedit"), FForm, FForm)),
             QStringLiteral("TQARichEdit"));
}

void TestQuestionModel::studentResponses()
{
    auto *combo = new TQACombobox(FForm, FForm);
    combo->Items()->Assign(QStringList{QStringLiteral("b"), QStringLiteral("a")});
    QCOMPARE(combo->Text(), QString());
    combo->SetText(QStringLiteral("typed"));
    FForm->show();
    QVERIFY(combo->isEditable()); // csDropDown takes typed text
    QCOMPARE(combo->lineEdit()->text(), QStringLiteral("typed"));
    QCOMPARE(combo->Text(), QStringLiteral("typed"));
    combo->SetSorted(true);
    QCOMPARE(combo->itemText(0), QStringLiteral("a"));
    combo->SetStyle(csDropDownList);
    combo->SetText(QStringLiteral("B"));
    QCOMPARE(combo->ItemIndex(), 1);
    QCOMPARE(combo->Text(), QStringLiteral("b"));

    auto *radio = new TQARadioGroup(FForm, FForm);
    radio->SetItemIndex(1); // before the items, as the text is read
    radio->SetAnswers(QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    QCOMPARE(radio->ItemIndex(), 1);
    QVERIFY(radio->Button(1)->isChecked());
    radio->Button(2)->click();
    QCOMPARE(radio->ItemIndex(), 2);
    radio->SetItemIndex(-1);
    QCOMPARE(radio->ItemIndex(), -1);
    QVERIFY(!radio->Button(2)->isChecked());

    auto *list = new TQAListbox(FForm, FForm);
    list->SetAnswers(QStringList{QStringLiteral("p"), QStringLiteral("q"), QStringLiteral("r")});
    QCOMPARE(list->ItemIndex(), -1);
    QCOMPARE(list->SelCount(), -1);
    list->SetItemIndex(2);
    QCOMPARE(list->ItemIndex(), 2);
    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    QCOMPARE(list->SelCount(), 2);
    QVERIFY(list->Selected(0) && !list->Selected(1));

    auto *date = new TQADateTime(FForm, FForm);
    date->SetDateTime(38123.75);
    QCOMPARE(date->date(), QDate(2004, 5, 16));
    date->setDate(QDate(2004, 5, 20)); // as the student picks it: the time stays
    QCOMPARE(date->DateTime(), 38127.75);
    QCOMPARE(date->PickedDate(), QDate(2004, 5, 20));

    auto *memo = new TQARichEdit(FForm, FForm);
    memo->setPlainText(QStringLiteral("first\nsecond"));
    QCOMPARE(memo->Text(), QStringLiteral("first\r\nsecond"));
    QCOMPARE(memo->Lines()->Count(), 2);
    memo->Lines()->Add(QStringLiteral("third"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("first\nsecond\nthird"));
}

void TestQuestionModel::reportObjects()
{
    auto *list = new TQAListbox(FForm, FForm);
    list->SetQuestion(QStringLiteral("Primes?"));
    list->SetAnswers(QStringList{QStringLiteral("2"), QStringLiteral("4")});
    list->SetCorrectAnswers(QStringList{QStringLiteral("2")});
    auto *memo = new TQARichEdit(FForm, FForm);
    memo->SetQuestion(QStringLiteral("Explain."));
    memo->SetCorrectAnswer(QStringLiteral("line one\r\nline two"));

    TReportList reports;
    AddReportObj(reports, list);
    AddReportObj(reports, memo);
    AddReportObj(reports, FForm);
    QCOMPARE(reports.size(), 3);
    QCOMPARE(reports[0].Text, QStringLiteral("Primes?"));
    QCOMPARE(reports[0].Report.ClassName, QStringLiteral("TQALISTBOX"));
    QCOMPARE(*reports[0].Report.Answers, (QStringList{QStringLiteral("2"), QStringLiteral("4")}));
    QCOMPARE(reports[0].Report.CorrectAnswers, QStringList{QStringLiteral("2")});
    QVERIFY(!reports[1].Report.Answers.has_value());
    QCOMPARE(reports[1].Report.CorrectAnswers, QStringList{QStringLiteral("line one\r\nline two")});
    QCOMPARE(reports[1].Report.ClassName, QStringLiteral("TQARICHEDIT"));
    QCOMPARE(reports[2].Report.Question, QString());
    QVERIFY(reports[2].Report.Answers.has_value() && reports[2].Report.Answers->isEmpty());
    QCOMPARE(GetQuestionText(memo), QStringLiteral("Explain."));
    QCOMPARE(GetQuestionText(FForm), QString());
}

void TestQuestionModel::loadTestFromDatabase()
{
    TTestDatabase db;
    auto insertQuestion = [&](int id, const QString &text) {
        db.Exec({QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"),
                 QStringLiteral("VALUES (%1, %2, %3, %4)")
                     .arg(id)
                     .arg(QuotedStr(QStringLiteral("QAMaskEdit_%1").arg(id)), QuotedStr(QStringLiteral("Q%1").arg(id)),
                          QuotedStr(text))});
    };
    for (int id : {1, 2, 3})
        insertQuestion(id, Crlf(QStringLiteral("object QAMaskEdit_%1: TQAMaskEdit\n  ID = %1\n"
                                               "  Question = 'Q%1'\nend\n")
                                    .arg(id)));
    // Test 7 holds questions 3, 1, 2 in that sequence, entered out of order.
    for (auto [control, sequence] : {std::pair{1, 2}, {2, 3}, {3, 1}})
        db.Exec({QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (7, %1, %2)")
                     .arg(control)
                     .arg(sequence)});

    TControlDefList defs;
    LoadTestQuestions(db.Query(), defs, QStringLiteral("7"));
    QCOMPARE(db.Query().Lines(), QString("SELECT controldef.*, testdetail.SEQUENCE FROM testdetail, controldef|"
                                         "WHERE CONTROLID = controldef.ID|AND TESTID = 7|ORDER BY SEQUENCE")
                                     .split('|'));
    QCOMPARE(defs.size(), 3);
    QCOMPARE(defs[0].Text, QStringLiteral("3"));
    QCOMPARE(defs[1].Def.ID, 1);
    QCOMPARE(defs[2].Def.Name, QStringLiteral("QAMaskEdit_2"));
    QCOMPARE(defs[2].Def.Question, QStringLiteral("Q2"));

    TQuestionControlList controls;
    CreateQuestionControls(defs, controls, FForm, FForm);
    QCOMPARE(controls.size(), 3);
    QCOMPARE(controls[0].Control->objectName(), QStringLiteral("QAMaskEdit_3_1"));
    QCOMPARE(controls[2].Text, QStringLiteral("Q2"));

    TControlDefList none;
    LoadTestQuestions(db.Query(), none, QStringLiteral("8"));
    QVERIFY(none.isEmpty());
    // The test ID is placed into the statement, so nothing but an integer is taken.
    QVERIFY_THROWS_EXCEPTION(Exception, LoadTestQuestions(db.Query(), none, QStringLiteral("7 OR 1=1")));
    QVERIFY(none.isEmpty());
}

QTEST_MAIN(TestQuestionModel)
#include "tst_questionmodel.moc"
