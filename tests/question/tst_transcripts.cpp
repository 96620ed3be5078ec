#include "question/ResultSheets.h"

#include <QtTest>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// One entry as the test wizard writes it.
QString Entry(int number, const QString &question, const QString &answer, bool correct)
{
    return QString::number(number) + QStringLiteral(". ") + question + CRLF + CRLF + answer +
           (correct ? QStringLiteral(" (CORRECT)") : QStringLiteral(" (INCORRECT)")) + CRLF + CRLF + CRLF;
}

} // namespace

class TestTranscripts : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestTranscripts::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("known");
    // "question|answer|1 or 0" per entry; empty when the text is no transcript.
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("list answer of several lines")
        << Entry(1, "Pick two", "Red\r\nBlue\r\n", true) + Entry(2, "Why?", "", false) + " " << QStringList{}
        << QStringList{"Pick two|Red\r\nBlue\r\n|1", "Why?||0"};
    QTest::newRow("answer holding a mark") << Entry(1, "Say it", "ok (CORRECT)\r\n\r\n\r\nreally", false) + " "
                                           << QStringList{} << QStringList{"Say it|ok (CORRECT)\r\n\r\n\r\nreally|0"};
    QTest::newRow("question holding a blank line")
        << Entry(1, "Look:\r\n\r\nWhat is it?", "a cat", true) + " " << QStringList{"look:\r\n\r\nwhat is it?"}
        << QStringList{"Look:\r\n\r\nWhat is it?|a cat|1"};
    QTest::newRow("cut short") << Entry(1, "Q", "a", true) + "2. Q2\r\n\r\nb (COR" << QStringList{} << QStringList{};
    QTest::newRow("numbers out of step") << Entry(1, "Q", "a", true) + Entry(3, "Q3", "b", true) << QStringList{}
                                         << QStringList{};
    QTest::newRow("answers in progress") << QStringLiteral("#progress\r\npage=1\r\n") << QStringList{} << QStringList{};
    QTest::newRow("empty") << QString() << QStringList{} << QStringList{};
}

void TestTranscripts::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, known);
    QFETCH(QStringList, expected);
    QList<TTranscriptEntry> entries;
    const bool ok = ParseTranscript(text, entries, known);
    QCOMPARE(ok, !expected.isEmpty());
    if (!ok)
        return;
    QStringList found;
    for (const TTranscriptEntry &e : entries)
        found.append(e.Question + QLatin1Char('|') + e.Answer + QLatin1Char('|') + QLatin1Char(e.Correct ? '1' : '0'));
    QCOMPARE(found, expected);
}

QTEST_MAIN(TestTranscripts)
#include "tst_transcripts.moc"
