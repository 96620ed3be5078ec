#pragma once

#include <QString>

// The grading rules both programs and the gradebook keep to: how a grade is computed,
// shown and stored, the pass mark and the status words of a result.
namespace Grading {

constexpr int PassMark = 70; // a whole grade of this or more passes
constexpr int MinGrade = 0;
constexpr int MaxGrade = 100;

// The status words stored with a result.
inline const QString Passed = QStringLiteral("PASSED");
inline const QString Failed = QStringLiteral("FAILED");
inline const QString Incomplete = QStringLiteral("INCOMPLETE"); // not taken (yet)

// The status of a finished test with this whole grade: "PASSED" from the pass mark on,
// "FAILED" below it.
QString FinishedStatus(int wholeGrade);
// The status a grade set by the teacher proposes: the pass mark to 100 "PASSED", 1 below
// it "FAILED", 0 "INCOMPLETE"; empty for a grade out of range.
QString ProposedStatus(int grade);
// Whether a stored status is that of a finished test ("PASSED" or "FAILED", any case).
bool IsFinished(const QString &status);

} // namespace Grading

// The grade of correct answers out of all, in percent, in extended precision.
long double ComputeGrade(int correct, int incorrect);
// The grade rounded half up to one decimal, with the system's decimal separator.
QString FormatGrade(long double grade);
// The whole grade that is stored: the shown value truncated toward zero, so that a
// grade shown as 53.0 is never stored as 52 through the last bit of a quotient.
int WholeGrade(long double grade);
