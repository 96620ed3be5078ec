#include "admin/Demo.h"

#include "database/Database.h"

#if __has_include("admin/QuestionCommands.h")
#include "admin/QuestionCommands.h"
#define CORVELLA_HAS_DEMO_QUESTIONS 1
#endif

QString LegacyScrambledPassword(const QString &password)
{
    QString scrambled;
    for (char c : password.toLatin1())
        scrambled += QStringLiteral("%1").arg(static_cast<unsigned char>(c) + 99, 2, 16, QLatin1Char('0')).toUpper();
    return scrambled;
}

namespace {

struct TDemoStudent {
    const char *Last, *First, *Middle, *Id, *Password; // no password: nullptr
};

const TDemoStudent DemoStudents[] = {
    {"ABERNATHY", "JANE", "Q", "S01", "apple"}, {"BÉLANGER", "ÉLODIE", "", "S02", "pear"},
    {"O'NEILL", "SEAN", "P", "S03", nullptr},   {"NGUYEN", "MAI", "", "S04", "plum"},
    {"SCHMIDT", "LUKAS", "", "S05", "fig"},
};

void Exec(TDbQuery &query, const QStringList &lines)
{
    query.Clear();
    for (const QString &line : lines)
        query.Add(line);
    query.ExecSQL();
}

QString Q(const char *text)
{
    return QuotedStr(QString::fromUtf8(text));
}

} // namespace

bool FillDemoDatabase(const QString &path, QString *error)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(path));
    TDbQuery query(&connection);
    try {
        Exec(query, {"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER)",
                     "VALUES (1, " + Q("GEOGRAPHY 7B") + ", " + Q("GEOGRAPHY") + ", " + Q("MRS. HARPER") + ")"});
        Exec(query, {"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER)",
                     "VALUES (2, " + Q("MATHEMATICS 7A") + ", " + Q("MATHEMATICS") + ", " + Q("MR. OKAFOR") + ")"});

        int id = 0;
        for (const TDemoStudent &s : DemoStudents) {
            const QString password = s.Password ? QuotedStr(LegacyScrambledPassword(QString::fromUtf8(s.Password)))
                                                : QStringLiteral("NULL");
            Exec(query, {"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID, PWORD)",
                         QStringLiteral("VALUES (%1, ").arg(++id) + Q(s.Last) + ", " + Q(s.First) + ", " + Q(s.Middle) +
                             ", " + Q(s.Id) + ", " + password + ")"});
        }
        // Class 1: S01, S02, S03; class 2: S03, S04, S05.
        const char *members[2][3] = {{"S01", "S02", "S03"}, {"S03", "S04", "S05"}};
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 3; ++i)
                Exec(query, {"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE)",
                             QStringLiteral("VALUES (%1, ").arg(c + 1) + Q(members[c][i]) +
                                 QStringLiteral(", %1)").arg(i + 1)});

        Exec(query, {"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS)",
                     "VALUES (1, " + Q("WORLD GEOGRAPHY QUIZ") + ", " + Q("Countries, capitals and rivers") + ", " +
                         Q("Answer every question. You pass with 70 % or more.") + ", 2)"});
        Exec(query, {"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS)",
                     "VALUES (2, " + Q("NUMBERS AND DATES") + ", " + Q("Arithmetic and famous dates") + ", " +
                         Q("Work carefully; you may use scrap paper.") + ", 1)"});

        // Both tests for the geography class, the first also for the mathematics class.
        Exec(query, {"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER)", "VALUES (1, 1, 1, '3')"});
        Exec(query, {"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER)", "VALUES (2, 1, 2, '4')"});
        Exec(query, {"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER)", "VALUES (3, 2, 2, '1')"});

#ifdef CORVELLA_HAS_DEMO_QUESTIONS
        QString questionError;
        if (!AddDemoQuestions(query, &questionError)) {
            if (error)
                *error = questionError;
            return false;
        }
#endif
    } catch (const Exception &e) {
        if (error)
            *error = e.Message();
        return false;
    }
    return true;
}
