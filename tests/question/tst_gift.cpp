#include "common/AdminProcess.h"
#include "common/TestDatabase.h"
#include "question/GiftExchange.h"
#include "question/QuestionBank.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Reading and writing GIFT question files, and moving questions through them between
// the question bank and a file.
class TestGift : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readsQuestion_data();
    void readsQuestion();
    void skipsBrokenQuestion_data();
    void skipsBrokenQuestion();
    void readsFileLayout();
    void decodesOnlyUtf8Text_data();
    void decodesOnlyUtf8Text();
    void escapesWhatGiftReads();
    void importSavesAsSaveDoes();
    void importIsAllOrNothing();
    void exportThenImportKeepsEveryKind();
    void adminImportAndExport();
    void adminImportWaitsForAnotherWriter();

private:
    // What a question of a given kind holds, for comparing two stored tests.
    static QStringList Described(TDbQuery &query, const QString &testID);
};

void TestGift::initTestCase()
{
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
}

void TestGift::readsQuestion_data()
{
    QTest::addColumn<QString>("gift");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("correct");
    QTest::addColumn<bool>("multiSelect");
    QTest::addColumn<QString>("note"); // a part of the notes; empty: no notes

    const QStringList grantChoices{"Grant", "no one", "Napoleon", "Churchill", "Mother Teresa"};
    QTest::newRow("single choice")
        << "Who's buried in Grant's tomb?{=Grant ~no one ~Napoleon ~Churchill ~Mother Teresa }"
        << "TQARadioGroup"
        << "Who's buried in Grant's tomb?" << grantChoices << QStringList{"Grant"} << false << "";
    QTest::newRow("single choice over lines, feedback, title")
        << "//Comment line \n::Question title \n:: Question {\n     =A correct answer\n     ~Wrong answer1\n"
           "     #A response to wrong answer1\n     ~Wrong answer2\n     #A response to wrong answer2\n}"
        << "TQARadioGroup"
        << "Question" << QStringList{"A correct answer", "Wrong answer1", "Wrong answer2"}
        << QStringList{"A correct answer"} << false << "";
    QTest::newRow("feedback after each choice")
        << "What's between orange and green in the spectrum? \n{ =yellow # right; good! ~red # wrong, it's yellow "
           "~blue # wrong, it's yellow }"
        << "TQARadioGroup"
        << "What's between orange and green in the spectrum?" << QStringList{"yellow", "red", "blue"}
        << QStringList{"yellow"} << false << "";
    QTest::newRow("partial weights beside =")
        << "What is the capital of France? {=Paris ~%50%Lyon ~%-25%Marseille}"
        << "TQARadioGroup"
        << "What is the capital of France?" << QStringList{"Paris", "Lyon", "Marseille"} << QStringList{"Paris"}
        << false << "weights dropped";
    QTest::newRow("two = choices keep the first")
        << "Which is a prime? {=2 ~4 =3}"
        << "TQARadioGroup"
        << "Which is a prime?" << QStringList{"2", "4", "3"} << QStringList{"2"} << false << "only the first of 2";
    QTest::newRow("multiple answers")
        << "What two people are entombed in Grant's tomb? {~%-100%No one ~%50%Grant ~%50%Grant's wife "
           "~%-100%Grant's father }"
        << "TQAListbox"
        << "What two people are entombed in Grant's tomb?"
        << QStringList{"No one", "Grant", "Grant's wife", "Grant's father"} << QStringList{"Grant", "Grant's wife"}
        << true << "weights dropped";
    QTest::newRow("multiple answers, decimal weights")
        << "Pick the odd numbers {~%33.33333%1 ~%33.33333%3 ~%33.33333%5 ~%-100%2}"
        << "TQAListbox"
        << "Pick the odd numbers" << QStringList{"1", "3", "5", "2"} << QStringList{"1", "3", "5"} << true
        << "weights dropped";
    QTest::newRow("true T") << "The sun rises in the east.{T}"
                            << "TQARadioGroup"
                            << "The sun rises in the east." << QStringList{"True", "False"} << QStringList{"True"}
                            << false << "";
    QTest::newRow("true TRUE") << "Water is wet. {TRUE}"
                               << "TQARadioGroup"
                               << "Water is wet." << QStringList{"True", "False"} << QStringList{"True"} << false << "";
    QTest::newRow("false F") << "Grant is buried in Grant's tomb.{F}"
                             << "TQARadioGroup"
                             << "Grant is buried in Grant's tomb." << QStringList{"True", "False"}
                             << QStringList{"False"} << false << "";
    QTest::newRow("false FALSE with feedback")
        << "The moon is made of cheese.{FALSE#No, it is rock.#Right.}"
        << "TQARadioGroup"
        << "The moon is made of cheese." << QStringList{"True", "False"} << QStringList{"False"} << false << "";
    QTest::newRow("short answer") << "Who's buried in Grant's tomb?{=Grant =Ulysses S. Grant =Ulysses Grant}"
                                  << "TQAMaskEdit"
                                  << "Who's buried in Grant's tomb?" << QStringList{} << QStringList{"Grant"} << false
                                  << "other accepted answers dropped: Ulysses S. Grant, Ulysses Grant";
    QTest::newRow("short answer full credit first")
        << "Name a colour of the flag {=%50%white =red}"
        << "TQAMaskEdit"
        << "Name a colour of the flag" << QStringList{} << QStringList{"red"} << false << "dropped: white";
    QTest::newRow("short answer in the sentence")
        << "Two plus two equals {=four =4}."
        << "TQAMaskEdit"
        << "Two plus two equals _____." << QStringList{} << QStringList{"four"} << false << "dropped: 4";
    QTest::newRow("numerical") << "When was Ulysses S. Grant born?{#1822}"
                               << "TQAMaskEdit"
                               << "When was Ulysses S. Grant born?" << QStringList{} << QStringList{"1822"} << false
                               << "";
    QTest::newRow("numerical with tolerance")
        << "When was Ulysses S. Grant born?{#1822:5}"
        << "TQAMaskEdit"
        << "When was Ulysses S. Grant born?" << QStringList{} << QStringList{"1822"} << false << "tolerance 5 dropped";
    QTest::newRow("numerical decimal") << "What is e to two places? {#2.72:0.005}"
                                       << "TQAMaskEdit"
                                       << "What is e to two places?" << QStringList{} << QStringList{"2.72"} << false
                                       << "tolerance 0.005 dropped";
    QTest::newRow("numerical one = answer with feedback")
        << "When was Grant born? {#\n    =1822:0      # Correct! Full credit.\n}"
        << "TQAMaskEdit"
        << "When was Grant born?" << QStringList{} << QStringList{"1822"} << false << "";
    QTest::newRow("essay") << "Write a short biography of Dag Hammarskj\u00F6ld. {}"
                           << "TQARichEdit"
                           << "Write a short biography of Dag Hammarskj\u00F6ld." << QStringList{} << QStringList{}
                           << false << "";
    QTest::newRow("essay with general feedback")
        << "Describe the water cycle. {####Evaporation, condensation, rain.}"
        << "TQARichEdit"
        << "Describe the water cycle." << QStringList{} << QStringList{} << false << "";
    QTest::newRow("missing word")
        << "Moodle costs {~lots of money =nothing ~a small amount} to download from moodle.org."
        << "TQARadioGroup"
        << "Moodle costs _____ to download from moodle.org."
        << QStringList{"lots of money", "nothing", "a small amount"} << QStringList{"nothing"} << false << "";
    QTest::newRow("missing word, Grant") << "Grant is {~buried =entombed ~living} in Grant's tomb."
                                         << "TQARadioGroup"
                                         << "Grant is _____ in Grant's tomb."
                                         << QStringList{"buried", "entombed", "living"} << QStringList{"entombed"}
                                         << false << "";
    QTest::newRow("name is not text")
        << "::Kanji Origins::Japanese characters originally came from what country? {=China}"
        << "TQAMaskEdit"
        << "Japanese characters originally came from what country?" << QStringList{} << QStringList{"China"} << false
        << "";
    QTest::newRow("html")
        << "[html]<p>Who&#39;s <i>buried</i> in Grant&#39;s&nbsp;tomb &amp; where?</p>{=<b>Grant</b> ~Napoleon}"
        << "TQARadioGroup"
        << "Who's buried in Grant's tomb & where?" << QStringList{"Grant", "Napoleon"} << QStringList{"Grant"} << false
        << "";
    QTest::newRow("html paragraphs") << "[html]<p>First line</p><p>Second&lt;line&gt;<br/>Third</p>{T}"
                                     << "TQARadioGroup"
                                     << "First line\r\nSecond<line>\r\nThird" << QStringList{"True", "False"}
                                     << QStringList{"True"} << false << "";
    QTest::newRow("markdown") << "[markdown]Which word is **bold** and which _slanted_ in `code`?{=this ~that}"
                              << "TQARadioGroup"
                              << "Which word is bold and which slanted in code?" << QStringList{"this", "that"}
                              << QStringList{"this"} << false << "";
    QTest::newRow("markdown heading and link")
        << "[markdown]\\# Rivers: see [the map](http\\://example.org/map). Longest?{=*Nile* ~Rhine}"
        << "TQARadioGroup"
        << "Rivers: see the map. Longest?" << QStringList{"Nile", "Rhine"} << QStringList{"Nile"} << false << "";
    QTest::newRow("markdown keeps blanks") << "[markdown]Fill in: _____ {=x}"
                                           << "TQAMaskEdit"
                                           << "Fill in: _____" << QStringList{} << QStringList{"x"} << false << "";
    QTest::newRow("plain keeps tags") << "[plain]Is <b> a tag?{T}"
                                      << "TQARadioGroup"
                                      << "Is <b> a tag?" << QStringList{"True", "False"} << QStringList{"True"} << false
                                      << "";
    QTest::newRow("moodle format") << "[moodle]What is 2+2? {=4 ~5}"
                                   << "TQARadioGroup"
                                   << "What is 2+2?" << QStringList{"4", "5"} << QStringList{"4"} << false << "";
    QTest::newRow("escapes")
        << "Which of \\{ \\} \\~ \\= \\# \\: \\\\ is a brace?{=\\{ or \\} ~a\\~b ~a\\=b ~\\#1 ~c\\:d}"
        << "TQARadioGroup"
        << "Which of { } ~ = # : \\ is a brace?" << QStringList{"{ or }", "a~b", "a=b", "#1", "c:d"}
        << QStringList{"{ or }"} << false << "";
    QTest::newRow("escaped line break") << "Two lines:\\nsecond {=a\\nb}"
                                        << "TQAMaskEdit"
                                        << "Two lines:\r\nsecond" << QStringList{} << QStringList{"a\r\nb"} << false
                                        << "";
    QTest::newRow("url in text is no comment")
        << "Is http://example.org a web address? {T}"
        << "TQARadioGroup"
        << "Is http://example.org a web address?" << QStringList{"True", "False"} << QStringList{"True"} << false << "";
    QTest::newRow("our combo box by name") << "::QACombobox_12::Pick {=a ~b}"
                                           << "TQACombobox"
                                           << "Pick" << QStringList{"a", "b"} << QStringList{"a"} << false << "";
    QTest::newRow("our single list box by name") << "::QAListbox_3::Pick {=a ~b}"
                                                 << "TQAListbox"
                                                 << "Pick" << QStringList{"a", "b"} << QStringList{"a"} << false << "";
    QTest::newRow("our date by name") << "::QADateTime_4::When? {=17/11/1869}"
                                      << "TQADateTime"
                                      << "When?" << QStringList{} << QStringList{"17/11/1869"} << false << "";
    QTest::newRow("a date name with no date") << "::QADateTime_4::When? {=soon}"
                                              << "TQAMaskEdit"
                                              << "When?" << QStringList{} << QStringList{"soon"} << false << "";
    QTest::newRow("our essay by name") << "::QARichEdit_5::Explain. {####Because\\nof this.}"
                                       << "TQARichEdit"
                                       << "Explain." << QStringList{} << QStringList{"Because\r\nof this."} << false
                                       << "";
    QTest::newRow("other names are no kind") << "::Combobox::Pick {=a ~b}"
                                             << "TQARadioGroup"
                                             << "Pick" << QStringList{"a", "b"} << QStringList{"a"} << false << "";
}

void TestGift::readsQuestion()
{
    QFETCH(QString, gift);
    QFETCH(QString, kind);
    QFETCH(QString, question);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, correct);
    QFETCH(bool, multiSelect);
    QFETCH(QString, note);

    const QList<TGiftQuestion> read = ReadGift(gift);
    QCOMPARE(read.size(), 1);
    const TGiftQuestion &q = read.first();
    QVERIFY2(q.SkipReason.isEmpty(), qPrintable(q.SkipReason));
    QCOMPARE(q.ClassName, kind);
    QCOMPARE(q.Question, question);
    QCOMPARE(q.Answers, answers);
    QCOMPARE(q.Correct, correct);
    QCOMPARE(q.MultiSelect, multiSelect);
    if (note.isEmpty())
        QVERIFY2(q.Notes.isEmpty(), qPrintable(q.Notes.join("; ")));
    else
        QVERIFY2(q.Notes.join("; ").contains(note), qPrintable(q.Notes.join("; ")));

    // The control made of it holds what was read.
    QWidget window;
    QWidget *control = CreateImportedQuestion(q, &window, &window);
    QVERIFY(control);
    QCOMPARE(ComponentClassName(control), kind);
    const TGiftQuestion back = GiftQuestionOf(control, QString());
    QCOMPARE(back.Question, question);
    QCOMPARE(back.Answers, answers);
    if (!correct.isEmpty())
        QCOMPARE(back.Correct, correct);
    QCOMPARE(back.MultiSelect, multiSelect);
    if (auto *combo = qobject_cast<TQACombobox *>(control))
        QCOMPARE(combo->Style(), csDropDownList);
    if (auto *date = qobject_cast<TQADateTime *>(control))
        QCOMPARE(DateToStr(DayNumberToDate(date->DateAnswer())), correct.first());
}

void TestGift::skipsBrokenQuestion_data()
{
    QTest::addColumn<QString>("gift");
    QTest::addColumn<QString>("reason");

    QTest::newRow("unclosed brace") << "What is 2+2? {=4 ~5"
                                    << "not closed";
    QTest::newRow("brace opened twice") << "What {=4 {~5}"
                                        << "not closed";
    QTest::newRow("closing brace alone") << "What is 2+2? =4 }"
                                         << "without an opening";
    QTest::newRow("no answer set") << "Just a description of the next part."
                                   << "no answer set";
    QTest::newRow("two answer sets") << "Is {T} and {F}?"
                                     << "more than one answer set";
    QTest::newRow("empty answer") << "What is 2+2? {=}"
                                  << "an answer without text";
    QTest::newRow("set of marks only") << "What is 2+2? { ~ }"
                                       << "an answer without text";
    QTest::newRow("answers without marks") << "What is 2+2? {four}"
                                           << "no answer begins with = or ~";
    QTest::newRow("text before the answers") << "What is 2+2? {four =4 ~5}"
                                             << "text before the first answer";
    QTest::newRow("no correct answer") << "Which? {~a ~b ~c}"
                                       << "no answer is marked correct";
    QTest::newRow("no positive weight") << "Which? {~%-50%a ~%0%b}"
                                        << "no answer is marked correct";
    QTest::newRow("short answer without full credit") << "Which? {=%50%a}"
                                                      << "no answer gives full credit";
    QTest::newRow("matching") << "Match the following countries with their corresponding capitals. {\n"
                                 "    =Canada -> Ottawa\n    =Italy  -> Rome\n    =Japan  -> Tokyo\n"
                                 "    =India  -> New Delhi\n    }"
                              << "a matching question";
    QTest::newRow("numerical range") << "What is the value of pi (to 3 decimal places)? {#3.141..3.142}."
                                     << "numerical range (3.141..3.142)";
    QTest::newRow("numerical multi-part") << "When was Ulysses S. Grant born? {#\n    =1822:0  # Correct!\n"
                                             "    =%50%1822:2  # Half credit for being close.\n}"
                                          << "several answers";
    QTest::newRow("numerical without number") << "How many? {#}"
                                              << "holds no number";
    QTest::newRow("numerical not a number") << "How many? {#twelve}"
                                            << "not a number: twelve";
    QTest::newRow("numerical bad tolerance") << "How many? {#12:lots}"
                                             << "not a tolerance: lots";
    QTest::newRow("unclosed name") << "::Name without end Question {T}"
                                   << "name is not closed";
    QTest::newRow("no question text") << "::Only a name::{T}"
                                      << "has no text";
}

void TestGift::skipsBrokenQuestion()
{
    QFETCH(QString, gift);
    QFETCH(QString, reason);
    const QList<TGiftQuestion> read = ReadGift(gift);
    QCOMPARE(read.size(), 1);
    QVERIFY2(read.first().SkipReason.contains(reason), qPrintable(read.first().SkipReason));
    QVERIFY(read.first().ClassName.isEmpty());
    QWidget window;
    QVERIFY(!CreateImportedQuestion(read.first(), &window, &window));
}

void TestGift::readsFileLayout()
{
    // Byte order mark, CR LF, comments and categories between questions, blank lines of blanks.
    const QByteArray bytes = "\xEF\xBB\xBF// exported for the class\r\n"
                             "$CATEGORY: $course$/Geography\r\n"
                             "\r\n"
                             "::Q1:: Capital of France? {=Paris ~Rome}\r\n"
                             "   \t\r\n"
                             "// the next one is broken\r\n"
                             "Broken {=a ~b\r\n"
                             "\r\n"
                             "\r\n"
                             "Longest river?\r\n"
                             "// a comment inside a question\r\n"
                             "{=Nile ~Rhine}\r\n"
                             "\r\n"
                             "Mixed line ends? {T}\r"
                             "\r"
                             "Last one {F}\n";
    QString text;
    QString error;
    QVERIFY2(DecodeGiftText(bytes, text, &error), qPrintable(error));
    const QList<TGiftQuestion> read = ReadGift(text);
    QCOMPARE(read.size(), 5);
    QCOMPARE(read[0].Line, 4);
    QCOMPARE(read[0].Question, QStringLiteral("Capital of France?"));
    QCOMPARE(read[1].Line, 7);
    QVERIFY(!read[1].SkipReason.isEmpty());
    QCOMPARE(read[2].Line, 10);
    QCOMPARE(read[2].Question, QStringLiteral("Longest river?"));
    QCOMPARE(read[2].Correct, QStringList{"Nile"});
    QCOMPARE(read[3].Line, 14);
    QCOMPARE(read[4].Line, 16);
    QCOMPARE(read[4].Correct, QStringList{"False"});

    // A file of comments only holds no question.
    QVERIFY(ReadGift(QStringLiteral("// nothing\n$CATEGORY: x\n\n")).isEmpty());
}

void TestGift::decodesOnlyUtf8Text_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("textOrReason");

    QTest::newRow("utf-8") << QByteArray("Caf\xC3\xA9? {T}") << true << QString::fromUtf8("Caf\xC3\xA9? {T}");
    QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBFQ {T}") << true << QStringLiteral("Q {T}");
    QTest::newRow("latin-1") << QByteArray("Caf\xE9? {T}") << false << QStringLiteral("not UTF-8 text (at byte 4)");
    QTest::newRow("cut sequence") << QByteArray("Q {T} \xE2\x82") << false << QStringLiteral("at byte 7");
    QTest::newRow("overlong") << QByteArray("Q \xC0\xAF") << false << QStringLiteral("at byte 3");
    QTest::newRow("binary") << QByteArray("PK\x03\x04\x00\x00", 6) << false << QStringLiteral("not a text file");
    QTest::newRow("nul") << QByteArray("Q {T}\x00", 6) << false << QStringLiteral("binary data at byte 6");
    QTest::newRow("utf-16") << QByteArray("\xFF\xFEQ\x00", 4) << false << QStringLiteral("UTF-16");
}

void TestGift::decodesOnlyUtf8Text()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    QFETCH(QString, textOrReason);
    QString text;
    QString error;
    QCOMPARE(DecodeGiftText(bytes, text, &error), accepted);
    if (accepted)
        QCOMPARE(text, textOrReason);
    else
        QVERIFY2(error.contains(textOrReason), qPrintable(error));
}

void TestGift::escapesWhatGiftReads()
{
    QCOMPARE(GiftEscape(QStringLiteral("a{b}c~d=e#f:g\\h\r\ni\nj")),
             QStringLiteral("a\\{b\\}c\\~d\\=e\\#f\\:g\\\\h\\ni\\nj"));
    // Every text that GIFT gives a meaning to comes back as it went out.
    TGiftQuestion q;
    q.ClassName = QStringLiteral("TQARadioGroup");
    q.Name = QStringLiteral("QARadioGroup_1");
    q.Question = QStringLiteral("What's {this} ~ = # : \\ \"quoted\" _____?\r\nLine two");
    q.Answers = QStringList{"=a", "~b", "#c", "{d}", "e: f", "//g", "%50% off"};
    q.Correct = QStringList{"#c"};
    const QList<TGiftQuestion> back = ReadGift(WriteGift({q}));
    QCOMPARE(back.size(), 1);
    QCOMPARE(back.first().Question, q.Question);
    QCOMPARE(back.first().Answers, q.Answers);
    QCOMPARE(back.first().Correct, q.Correct);
}

void TestGift::importSavesAsSaveDoes()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES(1, 'Science', '', '', 2)"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES(7, 'QAMaskEdit_7', 'Old', '')"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES(1, 7, 4)"});

    const QList<TGiftQuestion> questions = ReadGift(QStringLiteral("What's 2+2? {=4 ~5}\n\nBroken {\n\nSay it. {=it}"));
    TGiftImportResult result;
    QString error;
    QVERIFY2(ImportGiftQuestions(db.Query(), questions, {QStringLiteral("1"), QString()}, result, &error),
             qPrintable(error));
    QCOMPARE(result.Imported, 2);
    QCOMPARE(result.Skipped, 1);
    QCOMPARE(result.Lines,
             (QStringList{"line 1: QARadioGroup_8 \"What's 2+2?\"", "line 3: skipped: the brace { is not closed",
                          "line 5: QAMaskEdit_9 \"Say it.\""}));
    QCOMPARE(result.Summary(), QStringLiteral("2 questions imported, 1 skipped."));

    // Next free IDs, the save's names, the question in its own column, appended to the test.
    QCOMPARE(db.Column({"SELECT ID || '|' || NAME || '|' || QUESTION FROM controldef ORDER BY ID"}),
             (QStringList{"7|QAMaskEdit_7|Old", "8|QARadioGroup_8|What's 2+2?", "9|QAMaskEdit_9|Say it."}));
    QCOMPARE(db.Column({"SELECT CONTROLID || ':' || SEQUENCE FROM testdetail ORDER BY SEQUENCE"}),
             (QStringList{"7:4", "8:5", "9:6"}));
    const QString text = db.Column({"SELECT CONTROL FROM controldef WHERE ID = 8"}).value(0);
    QVERIFY(text.startsWith(QStringLiteral("object QARadioGroup_8: TQARadioGroup\r\n")));
    QVERIFY(text.endsWith(QStringLiteral("\r\nend\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\n  ID = 8\r\n")));

    // Each stored text loads back into the question that was read.
    TControlDefList defs;
    LoadTestQuestions(db.Query(), defs, QStringLiteral("1"));
    QCOMPARE(defs.size(), 3);
    QWidget window;
    QStringList lines = SplitLines(defs[1].Def.Control);
    lines.insert(0, ObjectLineClassName(lines.first()));
    auto *radio = qobject_cast<TQARadioGroup *>(TextToQuestionControl(lines, &window, &window));
    QVERIFY(radio);
    QCOMPARE(radio->ID(), 8);
    QCOMPARE(radio->Answers()->Lines(), (QStringList{"4", "5"}));
    QCOMPARE(radio->CorrectAnswer(), QStringLiteral("4"));

    // Into a test by name: made when missing, at the end of it when there.
    TGiftImportResult named;
    QVERIFY(ImportGiftQuestions(db.Query(), ReadGift(QStringLiteral("Q {T}")), {QString(), QStringLiteral("History")},
                                named, &error));
    QVERIFY(named.TestCreated);
    QCOMPARE(db.Column({"SELECT ID || '|' || NAME || '|' || COLUMNS FROM testmaster WHERE ID = 2"}),
             QStringList{"2|History|2"});
    QVERIFY(ImportGiftQuestions(db.Query(), ReadGift(QStringLiteral("R {F}")), {QString(), QStringLiteral("history")},
                                named, &error));
    QVERIFY(!named.TestCreated);
    QCOMPARE(db.Column({"SELECT CONTROLID || ':' || SEQUENCE FROM testdetail WHERE TESTID = 2 ORDER BY SEQUENCE"}),
             (QStringList{"10:1", "11:2"}));
}

void TestGift::importIsAllOrNothing()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES(1, 'QAMaskEdit_1', 'Old', '')"});
    // The engine refuses the third question: nothing of the import may stay.
    db.Exec({"CREATE TRIGGER refuse BEFORE INSERT ON controldef WHEN NEW.ID = 4",
             "BEGIN SELECT RAISE(ABORT, 'disk full'); END"});
    const QList<TGiftQuestion> questions = ReadGift(QStringLiteral("A {T}\n\nB {F}\n\nC {T}\n\nD {F}"));
    TGiftImportResult result;
    result.Imported = 99;
    QString error;
    QVERIFY(!ImportGiftQuestions(db.Query(), questions, {QString(), QStringLiteral("New test")}, result, &error));
    QVERIFY2(error.contains(QStringLiteral("disk full")), qPrintable(error));
    QCOMPARE(result.Imported, 99); // the caller's result is left alone
    QCOMPARE(db.Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"1"});
    QCOMPARE(db.Column({"SELECT COUNT(*) FROM testmaster"}), QStringList{"0"});
    QCOMPARE(db.Column({"SELECT COUNT(*) FROM testdetail"}), QStringList{"0"});

    // The connection is usable again afterwards.
    db.Exec({"DROP TRIGGER refuse"});
    QVERIFY2(ImportGiftQuestions(db.Query(), questions, {}, result, &error), qPrintable(error));
    QCOMPARE(db.Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"5"});
}

QStringList TestGift::Described(TDbQuery &query, const QString &testID)
{
    TControlDefList defs;
    LoadTestQuestions(query, defs, testID);
    QStringList described;
    for (const TControlDefEntry &entry : std::as_const(defs)) {
        QWidget window;
        QStringList lines = SplitLines(entry.Def.Control);
        lines.insert(0, ObjectLineClassName(lines.value(0)));
        QWidget *control = TextToQuestionControl(lines, &window, &window);
        const TGiftQuestion q = GiftQuestionOf(control, QString());
        QString line = q.ClassName + QLatin1Char('|') + q.Question + QLatin1Char('|') +
                       q.Answers.join(QLatin1Char('/')) + QLatin1Char('|') + q.Correct.join(QLatin1Char('/')) +
                       QLatin1Char('|') + (q.MultiSelect ? QLatin1Char('M') : QLatin1Char('S')) + QLatin1Char('|') +
                       entry.Def.Question;
        if (auto *date = qobject_cast<TQADateTime *>(control))
            line += QLatin1Char('|') + QString::number(date->DateAnswer());
        described << line;
    }
    return described;
}

void TestGift::exportThenImportKeepsEveryKind()
{
    TTestDatabase db;
    const QString gift =
        QStringLiteral("::QAMaskEdit_1::What's the capital of France? {=PARIS}\n\n"
                       "::QACombobox_2::Which is the longest river in Africa? {=Nile ~Congo ~Niger}\n\n"
                       "::QARadioGroup_3::Which of \\{these\\} is \\= to 2 \\# \\~? {~1+0 =1+1 ~1\\:1}\n\n"
                       "::QAListbox_4::Which border Germany? {~%50%Austria ~%-100%Spain ~%50%Poland}\n\n"
                       "::QAListbox_5::Which is prime? {~21 =29 ~33}\n\n"
                       "::QARichEdit_6::Describe a delta. {####Sand and mud\\nbuild new land.}\n\n"
                       "::QARichEdit_7::Write freely about _____. {}\n\n"
                       "::QADateTime_8::When did the Berlin Wall fall? {=09/11/1989}\n\n"
                       "::QARadioGroup_9::Is it true? {T}\n");
    QString error;
    TGiftImportResult first;
    QVERIFY2(ImportGiftQuestions(db.Query(), ReadGift(gift), {QString(), QStringLiteral("Original")}, first, &error),
             qPrintable(error));
    QCOMPARE(first.Imported, 9);
    const QStringList original = Described(db.Query(), first.TestID);
    QCOMPARE(original.size(), 9);
    QStringList kinds;
    for (const QString &line : original)
        kinds << line.section(QLatin1Char('|'), 0, 0);
    QCOMPARE(kinds, (QStringList{"TQAMaskEdit", "TQACombobox", "TQARadioGroup", "TQAListbox", "TQAListbox",
                                 "TQARichEdit", "TQARichEdit", "TQADateTime", "TQARadioGroup"}));

    QString exported;
    QStringList notes;
    int count = 0;
    QVERIFY2(ExportTestAsGift(db.Query(), first.TestID, exported, &notes, &error, &count), qPrintable(error));
    QCOMPARE(count, 9);
    QVERIFY2(notes.isEmpty(), qPrintable(notes.join('\n')));
    QVERIFY(exported.startsWith(QStringLiteral("::QAMaskEdit_1::What's the capital of France? {=PARIS}\n\n")));
    QVERIFY2(exported.contains(QStringLiteral("\t~%50%Austria\n\t~%-100%Spain\n\t~%50%Poland\n")),
             qPrintable(exported));

    TGiftImportResult second;
    QVERIFY2(ImportGiftQuestions(db.Query(), ReadGift(exported), {QString(), QStringLiteral("Copy")}, second, &error),
             qPrintable(error));
    QCOMPARE(second.Imported, 9);
    QCOMPARE(second.Skipped, 0);
    QCOMPARE(Described(db.Query(), second.TestID), original);
    // And once more round: the export of the copy is the export of the original, but for the names.
    QString again;
    QVERIFY(ExportTestAsGift(db.Query(), second.TestID, again, &notes, &error));
    static const QRegularExpression number(QStringLiteral("::(QA[A-Za-z]+)_[0-9]+::"));
    QCOMPARE(QString(again).replace(number, QStringLiteral("::\\1::")),
             QString(exported).replace(number, QStringLiteral("::\\1::")));

    // A choice question whose correct answer is none of its choices is named.
    {
        QWidget window;
        TGiftQuestion choice = ReadGift(QStringLiteral("Pick {=a ~b}")).first();
        choice.Correct = QStringList{"c"};
        QWidget *control = CreateImportedQuestion(choice, &window, &window);
        dynamic_cast<TQuestionControl *>(control)->SetID(30);
        control->setObjectName(QStringLiteral("QARadioGroup_30"));
        InsertQuestionRow(db.Query(), QStringLiteral("30"), control->objectName(), choice.Question,
                          StoredControlText(control));
        InsertTestQuestion(db.Query(), second.TestID, QStringLiteral("30"), 10);
        QVERIFY(ExportTestAsGift(db.Query(), second.TestID, again, &notes, &error, &count));
        QCOMPARE(count, 10);
        QCOMPARE(notes, QStringList{"Question 30: no correct answer is one of its choices, so the file marks none."});
        QVERIFY(again.endsWith(QStringLiteral("::QARadioGroup_30::Pick {\n\t~a\n\t~b\n}\n\n")));
        notes.clear();
    }

    // A stored question that no longer rebuilds is named, the others still go out.
    db.Exec({"UPDATE controldef SET CONTROL = 'object QAMaskEdit_1: TQAMaskEdit' || char(13, 10) || '  Foo = 1'"
             " || char(13, 10) || 'end' WHERE ID = 1"});
    QVERIFY(ExportTestAsGift(db.Query(), first.TestID, again, &notes, &error, &count));
    QCOMPARE(count, 8);
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes.first().startsWith(QStringLiteral("Question 1 left out: ")), qPrintable(notes.first()));
}

void TestGift::adminImportAndExport()
{
    const QString admin = AdminProgram();
    if (!QFile::exists(admin))
        QSKIP("corvella-admin is not built beside the tests");
    TTestDatabase db;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bank.gift"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("\xEF\xBB\xBF// two questions and a matching one\r\n\r\n::a::Capital of Italy? {=Rome ~Milan}\r\n\r\n"
                  "Match {=a -> 1 =b -> 2}\r\n\r\nWhen was Grant born? {#1822:2}\r\n");
    }
    const auto run = [&](const QStringList &args, QByteArray *out = nullptr, QByteArray *err = nullptr) {
        QProcess process;
        process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        process.start(admin, args);
        process.waitForFinished(60000);
        if (out)
            *out = process.readAllStandardOutput();
        if (err)
            *err = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    QByteArray out;
    QByteArray err;
    QCOMPARE(run({"import", db.Path(), file, "--test", "Imported"}, &out, &err), 0);
    QCOMPARE(
        QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts),
        (QStringList{"line 3: QARadioGroup_1 \"Capital of Italy?\"",
                     "line 5: skipped: a matching question has no kind here",
                     "line 7: QAMaskEdit_2 \"When was Grant born?\" (tolerance 2 dropped, the exact value is correct)",
                     "2 questions imported, 1 skipped. Test \"Imported\" made."}));
    QCOMPARE(err, QByteArray()); // a command that succeeds says nothing on stderr
    QCOMPARE(db.Column({"SELECT NAME FROM testmaster"}), QStringList{"Imported"});

    QCOMPARE(run({"export", db.Path(), "--test", "Imported"}, &out, &err), 0);
    QCOMPARE(QString::fromUtf8(out), QStringLiteral("::QARadioGroup_1::Capital of Italy? {\n\t=Rome\n\t~Milan\n}\n\n"
                                                    "::QAMaskEdit_2::When was Grant born? {=1822}\n\n"));
    const QString exported = dir.filePath(QStringLiteral("out.gift"));
    QCOMPARE(run({"export", db.Path(), "--test", "imported", exported}), 0);
    QFile back(exported);
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), out);

    // Refusals: not UTF-8, no question, no such test, wrong arguments; nothing stored.
    const QString latin = dir.filePath(QStringLiteral("latin.gift"));
    {
        QFile bad(latin);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("Caf\xE9? {T}\n");
    }
    QCOMPARE(run({"import", db.Path(), latin}, &out, &err), 1);
    QVERIFY2(err.contains("not UTF-8"), err.constData());
    const QString empty = dir.filePath(QStringLiteral("empty.gift"));
    {
        QFile none(empty);
        QVERIFY(none.open(QIODevice::WriteOnly));
        none.write("// nothing here\n");
    }
    QCOMPARE(run({"import", db.Path(), empty}, &out, &err), 1);
    QVERIFY2(err.contains("holds no question"), err.constData());
    QCOMPARE(run({"import", db.Path(), dir.filePath("missing.gift")}, &out, &err), 1);
    QCOMPARE(run({"export", db.Path(), "--test", "Nothing"}, &out, &err), 1);
    QVERIFY2(err.contains("No test is named"), err.constData());
    QCOMPARE(run({"export", db.Path()}), 2);
    QCOMPARE(run({"import", db.Path()}), 2);
    QCOMPARE(db.Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"2"});
}

void TestGift::adminImportWaitsForAnotherWriter()
{
    const QString admin = AdminProgram();
    if (!QFile::exists(admin))
        QSKIP("corvella-admin is not built beside the tests");
    TTestDatabase db;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("two.gift"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("A {T}\n\nB {F}\n");
    }
    // Another program is saving a question while the import starts: the import waits
    // for it and then takes the IDs after it, never the same one.
    db.Exec({"BEGIN IMMEDIATE"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES(1, 'QAMaskEdit_1', 'Saved meanwhile', '')"});
    QProcess process;
    process.start(admin, {"import", db.Path(), file});
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500));
    db.Exec({"COMMIT"});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(db.Column({"SELECT ID || '|' || NAME FROM controldef ORDER BY ID"}),
             (QStringList{"1|QAMaskEdit_1", "2|QARadioGroup_2", "3|QARadioGroup_3"}));
}

QTEST_MAIN(TestGift)
#include "tst_gift.moc"
