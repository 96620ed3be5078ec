#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TDbQuery;

// Results taken out of the program: the gradebook as CSV, and the statistics of each
// question of a test read from the stored answer transcripts. Shared by the authoring
// program's windows and corvella-admin.

// ---- CSV (RFC 4180): CR LF line ends; a field holding a comma, quote or line break is
// quoted, with its quotes doubled. Files are UTF-8 with a byte-order mark, so that common
// spreadsheets read accents right.
QString CsvField(const QString &text);
QString CsvLine(const QStringList &fields);
QByteArray CsvBytes(const QList<QStringList> &rows, bool byteOrderMark = true);
// Written whole or not at all; false with the reason.
bool WriteCsvFile(const QString &fileName, const QList<QStringList> &rows, QString *error);

// ---- Gradebook

// One test assigned to one class.
struct TGradePair {
    QString ClassKey;
    QString ClassName;
    QString TestKey;
    QString TestName;
    QString Chapter;
};

struct TGradeRow {
    QString StudentID;
    QString LastName;
    QString FirstName;
    QString Middle;
    QString ClassName;
    QString TestName;
    QString Chapter;
    QString Grade;
    QString Status;
    QString Date; // yyyy-MM-dd; empty without one
};

// The tests assigned to classes, by class name and test name; empty key lists stand for
// every class or test. Keys must be whole numbers. Raises EDatabaseError.
QList<TGradePair> ReadGradePairs(TDbQuery &query, const QStringList &classKeys = {}, const QStringList &testKeys = {});
// Every student of the pair's class with the result of its test, as the gradebook lists
// them: a student without a result has grade 0 and status INCOMPLETE. Raises EDatabaseError.
QList<TGradeRow> ReadGradeRows(TDbQuery &query, const TGradePair &pair);
// The title row and one row per grade row.
QList<QStringList> GradeCsvRows(const QList<TGradeRow> &rows);

// ---- Question statistics

// One entry of a stored answer transcript.
struct TTranscriptEntry {
    QString Question;
    QString Answer;
    bool Correct = false;
};

// Splits a transcript as the test wizard stores it; knownQuestions (the test's question
// texts) settle where a question holding blank lines ends. False when the text is not
// such a transcript (empty, answers in progress, damaged).
bool ParseTranscript(const QString &text, QList<TTranscriptEntry> &entries, const QStringList &knownQuestions = {});

struct TItemStatistic {
    int Number = 0; // position in the test, from 1
    QString Question;
    int Answered = 0;
    int Right = 0;
    double Facility = 0; // per cent of those who answered; meaningful when Answered > 0
    bool HasDiscrimination = false;
    double Discrimination = 0; // from -1 to 1
};

struct TItemStatistics {
    QString TestName;
    QString ClassName; // empty: every class
    int Students = 0; // results whose transcript was read
    int Skipped = 0; // results taken whose transcript could not be read
    int GroupSize = 0; // students in each of the top and bottom groups
    QList<TItemStatistic> Items;

    bool NobodyTook() const { return Students == 0 && Skipped == 0; }
    // What the numbers stand on, in one line, e.g. "12 students; 1 transcript could not be read".
    QString Summary() const;
    // Title row and one row per question.
    QList<QStringList> CsvRows() const;
};

// Share of the students in each of the top and bottom groups by grade.
constexpr double DiscriminationGroupShare = 0.27;
// The number of students in each group for n students (none below two students).
int DiscriminationGroupSize(int students);

// Reads the test's questions and the finished results of the test (in the class, or in
// every class when classKey is empty), and works out each question's statistics.
// Keys must be whole numbers. Raises EDatabaseError.
TItemStatistics ReadItemStatistics(TDbQuery &query, const QString &testKey, const QString &classKey = {});
// The table as plain text with aligned columns, for a terminal.
QString ItemStatisticsText(const TItemStatistics &statistics);

// A text as a file name: the characters file names cannot hold become "_".
QString SafeFileName(const QString &text);
