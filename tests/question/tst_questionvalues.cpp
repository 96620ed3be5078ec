// Stored question texts whose values could hurt: integers beyond their range, masks
// beyond any real one, text in the old 8-bit code page.
#include "common/AdminProcess.h"
#include "common/TestDatabase.h"
#include "question/ObjectText.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Exception.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray Head = "object QAMaskEdit_1: TQAMaskEdit\r\n";

// Loads one text as the loader does; the error text, or empty when a control came.
QString Load(const QString &text, QWidget &window, QWidget **control)
{
    QStringList lines = SplitLines(text);
    lines.insert(0, ObjectLineClassName(lines.value(0)));
    try {
        *control = TextToQuestionControl(lines, &window, &window);
        return *control ? QString() : QStringLiteral("no control");
    } catch (const Exception &e) {
        return e.Message();
    }
}

// What the command said about the text, without what Qt says about the environment.
// The notes a run wrote on standard error (text), or among its report on standard output (check).
QStringList Notes(QProcess &process, bool onStdout = false)
{
    QStringList notes;
    const QByteArray written = onStdout ? process.readAllStandardOutput() : process.readAllStandardError();
    for (const QString &line : QString::fromUtf8(written).split(QLatin1Char('\n')))
        if (line.contains(QLatin1String("Note:")))
            notes << line;
    return notes;
}

} // namespace

class TestQuestionValues : public QObject {
    Q_OBJECT

private slots:
    void integersStayInRange_data();
    void integersStayInRange();
    void masksStayBounded_data();
    void masksStayBounded();
    void latin1QuestionLoads();
    void adminSaysTextWasLatin1();
};

void TestQuestionValues::integersStayInRange_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("property");
    QTest::addColumn<qint64>("value"); // read back when no error
    QTest::addColumn<QString>("error");
    const QString invalid = QStringLiteral("Error reading QAMaskEdit_1.%1: Invalid property value");
    QTest::newRow("largest ID") << QByteArray("ID = 2147483647") << "ID" << qint64(INT32_MAX) << QString();
    QTest::newRow("smallest Tag") << QByteArray("Tag = -2147483648") << "Tag" << qint64(INT32_MIN) << QString();
    // A position far off any screen is brought in as far as Qt keeps sizes.
    QTest::newRow("Left largest") << QByteArray("Left = 2147483647") << "Left" << qint64(16777215) << QString();
    QTest::newRow("Top smallest") << QByteArray("Top = -2147483648") << "Top" << qint64(-16777215) << QString();
    QTest::newRow("ID one past largest") << QByteArray("ID = 2147483648") << "ID" << qint64(0) << invalid.arg("ID");
    QTest::newRow("ID all bits") << QByteArray("ID = 4294967295") << "ID" << qint64(0) << invalid.arg("ID");
    QTest::newRow("Left three billion") << QByteArray("Left = 3000000000") << "Left" << qint64(0)
                                        << invalid.arg("Left");
    QTest::newRow("Top below smallest") << QByteArray("Top = -2147483649") << "Top" << qint64(0) << invalid.arg("Top");
    QTest::newRow("ID 2 to the 32") << QByteArray("ID = 4294967296") << "ID" << qint64(0) << invalid.arg("ID");
    QTest::newRow("hexadecimal ID bit pattern")
        << QByteArray("ID = $FFFFFFFF") << "ID" << qint64(0) << invalid.arg("ID");
    QTest::newRow("hexadecimal ID") << QByteArray("ID = $7FFFFFFF") << "ID" << qint64(INT32_MAX) << QString();
    // Colours are 32-bit patterns: the high bit marks a system colour.
    QTest::newRow("system colour") << QByteArray("Color = $80000005") << "Color" << qint64(qint32(0x80000005))
                                   << QString();
    QTest::newRow("colour past 32 bits") << QByteArray("Color = $100000000") << "Color" << qint64(0)
                                         << invalid.arg("Color");
}

void TestQuestionValues::integersStayInRange()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, property);
    QFETCH(qint64, value);
    QFETCH(QString, error);
    QWidget window;
    QWidget *control = nullptr;
    const QString got = Load(QString::fromLatin1(Head + "  " + line + "\r\nend\r\n"), window, &control);
    QCOMPARE(got, error);
    if (error.isEmpty())
        QCOMPARE(GetOrdProp(control, property), value);
}

void TestQuestionValues::masksStayBounded_data()
{
    QTest::addColumn<int>("maskLength");
    QTest::addColumn<int>("textLength");
    QTest::addColumn<QString>("error");
    const QString invalid = QStringLiteral("Error reading QAMaskEdit_1.EditMask: Invalid property value");
    QTest::newRow("longest mask, long text") << 256 << 4097 << QString();
    QTest::newRow("one character too long") << 257 << 3 << invalid;
    QTest::newRow("a million characters") << 1000000 << 4097 << invalid;
}

// No text may cost more than a few MB or a fraction of a second: a mask longer than
// any real one is refused before a text is laid into it.
void TestQuestionValues::masksStayBounded()
{
    QFETCH(int, maskLength);
    QFETCH(int, textLength);
    QFETCH(QString, error);
    TTextObject object;
    object.Name = QStringLiteral("QAMaskEdit_1");
    object.ClassName = QStringLiteral("TQAMaskEdit");
    for (const auto &[path, text] : {std::pair{QStringLiteral("EditMask"), QString(maskLength, QLatin1Char('c'))},
                                     std::pair{QStringLiteral("Text"), QString(textLength, QLatin1Char('x'))}}) {
        TTextProperty property;
        property.Path = path;
        property.Value.Kind = TTextValue::String;
        property.Value.Text = text;
        object.Properties.append(property);
    }
    QWidget window;
    QWidget *control = nullptr;
    QCOMPARE(Load(WriteObjectText(object), window, &control), error);
    if (error.isEmpty()) {
        auto *edit = qobject_cast<TQAMaskEdit *>(control);
        QVERIFY(edit);
        QCOMPARE(edit->Text(), QString(maskLength, QLatin1Char('x')));
    }
}

// A question stored by another tool in Latin-1 loads with its letters.
void TestQuestionValues::latin1QuestionLoads()
{
    TTestDatabase db;
    const QByteArray text = Head + "  ID = 1\r\n  Question = 'Qu'#39'est-ce qu'#39'un \xE9l\xE8ve ?'\r\n"
                                   "  CorrectAnswer = '\xC9"
                                   "cole'\r\nend\r\n";
    db.Exec(
        {QStringLiteral("INSERT INTO controldef (ID, NAME, CONTROL) VALUES (1, 'QAMaskEdit_1', CAST(X'%1' AS TEXT))")
             .arg(QString::fromLatin1(text.toHex()))});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, 1, 1)"});
    TControlDefList defs;
    LoadTestQuestions(db.Query(), defs, QStringLiteral("1"));
    QCOMPARE(defs.size(), 1);
    QWidget window;
    TQuestionControlList controls;
    CreateQuestionControls(defs, controls, &window, &window);
    QCOMPARE(controls.size(), 1);
    auto *edit = qobject_cast<TQAMaskEdit *>(controls.first().Control);
    QVERIFY(edit);
    QCOMPARE(edit->Question(), QString::fromUtf8("Qu'est-ce qu'un élève ?"));
    QCOMPARE(edit->CorrectAnswer(), QString::fromUtf8("École"));
}

// The command line says when it read a text as Latin-1, and writes it back as UTF-8.
void TestQuestionValues::adminSaysTextWasLatin1()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("question.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Head + "  ID = 3\r\n  Question = 'Caf\xE9 ou th\xE9 ?'\r\nend\r\n");
    file.close();

    QProcess admin;
    admin.start(AdminProgram(), {QStringLiteral("text"), path});
    QVERIFY2(admin.waitForFinished(30000), qPrintable(admin.errorString()));
    QCOMPARE(admin.exitCode(), 0);
    QVERIFY2(QString::fromUtf8(admin.readAllStandardOutput()).contains(QString::fromUtf8("'Café ou thé ?'")),
             "the letters were lost");
    QCOMPARE(Notes(admin), QStringList{"Note: the text is not UTF-8; it was read as Latin-1 (Windows-1252)."});

    // The same text in UTF-8 draws no note.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(Head + "  ID = 3\r\n  Question = 'Caf\xC3\xA9 ou th\xC3\xA9 ?'\r\nend\r\n");
    file.close();
    admin.start(AdminProgram(), {QStringLiteral("text"), path});
    QVERIFY(admin.waitForFinished(30000));
    QCOMPARE(admin.exitCode(), 0);
    QCOMPARE(Notes(admin), QStringList());

    // check names the stored question, and a Latin-1 text is no failure.
    TTestDatabase db;
    db.Exec(
        {QStringLiteral("INSERT INTO controldef (ID, NAME, CONTROL) VALUES (3, 'QAMaskEdit_3', CAST(X'%1' AS TEXT))")
             .arg(QString::fromLatin1(QByteArray(Head + "  ID = 3\r\n  Question = 'Th\xE9'\r\nend\r\n").toHex()))});
    admin.start(AdminProgram(), {QStringLiteral("check"), db.Path()});
    QVERIFY(admin.waitForFinished(30000));
    QCOMPARE(admin.exitCode(), 0);
    QCOMPARE(Notes(admin, true),
             QStringList{"ID 3: Note: the text is not UTF-8; it was read as Latin-1 (Windows-1252)."});
    QCOMPARE(admin.readAllStandardError(), QByteArray()); // a check that succeeds says nothing on stderr
}

QTEST_MAIN(TestQuestionValues)
#include "tst_questionvalues.moc"
