#include "admin/QuestionCommands.h"

#include "database/Database.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"
#include "toolkit/Strings.h"

#include <QFile>
#include <QWidget>

#include <cstdio>

namespace {

void WriteTo(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

const QString QuestionClasses =
    QStringLiteral("TQAMaskEdit, TQACombobox, TQARadioGroup, TQAListbox, TQARichEdit, TQADateTime");

// Why a text yields no control: it names another class, or its object has no name.
QString NoControlReason(const QString &text)
{
    const TTextObject object = ParseObjectText(text);
    if (object.Name.isEmpty())
        return QStringLiteral("The object has no name, so it is not a stored question (class %1).")
            .arg(object.ClassName);
    // A question class that still gave no control: the header itself is not one line of
    // the form "object Name: Class" (split over two lines, say).
    if (QuestionClasses.split(QStringLiteral(", ")).contains(object.ClassName))
        return QStringLiteral("The first line \"%1\" is not a header of the form \"object Name: Class\".")
            .arg(text.section(QLatin1Char('\n'), 0, 0).trimmed());
    return QStringLiteral("%1 is not a question class; questions are of the classes %2.")
        .arg(object.ClassName, QuestionClasses);
}

// Rebuilds one stored text into owner as the loader does; nullptr for no control.
QWidget *RebuildQuestion(const QString &text, QObject *owner, QWidget *parent)
{
    QStringList lines = SplitLines(text);
    lines.insert(0, ObjectLineClassName(lines.value(0)));
    return TextToQuestionControl(lines, owner, parent);
}

QString Latin1Notice()
{
    return QStringLiteral("Note: the text is not UTF-8; it was read as Latin-1 (Windows-1252).");
}

} // namespace

int RunTextCommand(const QString &fileOrEmpty)
{
    QFile file;
    bool opened = false;
    if (fileOrEmpty.isEmpty() || fileOrEmpty == QLatin1String("-")) {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(fileOrEmpty);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        WriteTo(stderr,
                QStringLiteral("Cannot read %1: %2\n")
                    .arg(fileOrEmpty.isEmpty() ? QStringLiteral("standard input") : fileOrEmpty, file.errorString()));
        return 1;
    }
    bool latin1 = false;
    const QString text = TextFromBytes(file.readAll(), &latin1);
    if (latin1)
        WriteTo(stderr, Latin1Notice() + QLatin1Char('\n'));

    QWidget window;
    try {
        QWidget *control = RebuildQuestion(text, &window, &window);
        if (!control) {
            WriteTo(stderr, NoControlReason(text) + QLatin1Char('\n'));
            return 1;
        }
        WriteTo(stdout, ComponentToText(control));
    } catch (const Exception &e) {
        WriteTo(stderr, e.Message() + QLatin1Char('\n'));
        return 1;
    }
    return 0;
}

int RunCheckCommand(const QString &databasePath, int *questionCount, int *failureCount)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(databasePath));
    connection.SetReadOnly(true);
    TDbQuery query(&connection);
    QList<QPair<int, QString>> rows;
    QList<int> latin1Rows;
    try {
        connection.Open();
        query.Add(QStringLiteral("SELECT ID, CONTROL FROM controldef ORDER BY ID"));
        query.Open();
        while (!query.Eof()) {
            bool latin1 = false;
            const int id = query.FieldByName(QStringLiteral("ID")).AsInteger();
            rows.append({id, TextFromBytes(query.FieldByName(QStringLiteral("CONTROL")).AsBytes(), &latin1)});
            if (latin1)
                latin1Rows.append(id);
            query.Next();
        }
        query.Close();
    } catch (const Exception &e) {
        WriteTo(stderr, e.Message() + QLatin1Char('\n'));
        return 1;
    }

    // Not a failure: the programs read such a text the same way.
    for (int id : std::as_const(latin1Rows))
        WriteTo(stdout, QStringLiteral("ID %1: %2\n").arg(id).arg(Latin1Notice()));

    int failures = 0;
    for (const auto &[id, text] : std::as_const(rows)) {
        QString error;
        // Each question in a window of its own, as each is loaded on its own.
        QWidget window;
        try {
            if (!RebuildQuestion(text, &window, &window))
                error = NoControlReason(text);
        } catch (const Exception &e) {
            error = e.Message();
        }
        if (!error.isEmpty()) {
            ++failures;
            WriteTo(stdout, QStringLiteral("ID %1: %2\n").arg(id).arg(error));
        }
    }
    if (questionCount)
        *questionCount = static_cast<int>(rows.size());
    if (failureCount)
        *failureCount = failures;
    return failures == 0 ? 0 : 1;
}

namespace {

struct TDemoQuestion {
    const char *ClassName;
    const char *Question;
    QStringList Answers;
    QString Correct; // CorrectAnswer, or the lines of CorrectAnswers joined by '|'
    QDate Date = {}; // the correct date of a date question
};

void Exec(TDbQuery &query, const QStringList &lines)
{
    query.Clear();
    for (const QString &line : lines)
        query.Add(line);
    query.ExecSQL();
}

// Shapes a new control as the authoring program does and fills in the question.
void Shape(QWidget *control, const TDemoQuestion &q, int id)
{
    auto *question = dynamic_cast<TQuestionControl *>(control);
    auto *base = dynamic_cast<TControl *>(control);
    question->SetID(id);
    question->SetQuestion(QString::fromUtf8(q.Question));
    control->setObjectName(QString::fromLatin1(q.ClassName).mid(1) + QLatin1Char('_') + QString::number(id));
    if (auto *edit = qobject_cast<TQAMaskEdit *>(control)) {
        base->SetBounds(200, 150, 200, 21);
        edit->SetCorrectAnswer(q.Correct);
        if (q.Correct == q.Correct.toUpper() && q.Correct.front().isLetter())
            edit->SetCharCase(ecUpperCase);
    } else if (auto *combo = qobject_cast<TQACombobox *>(control)) {
        base->SetBounds(200, 150, 200, 21);
        combo->SetStyle(csDropDownList);
        combo->SetAnswers(q.Answers);
        combo->SetCorrectAnswer(q.Correct);
    } else if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
        base->SetBounds(200, 150, 260, 105);
        radio->SetColumns(2);
        radio->SetAnswers(q.Answers);
        radio->SetCorrectAnswer(q.Correct);
    } else if (auto *list = qobject_cast<TQAListbox *>(control)) {
        const QStringList correct = q.Correct.split(QLatin1Char('|'));
        base->SetBounds(200, 150, 200, 97);
        list->SetExtendedSelect(false);
        list->SetMultiSelect(correct.size() > 1);
        list->SetAnswers(q.Answers);
        list->SetCorrectAnswers(correct);
    } else if (auto *memo = qobject_cast<TQARichEdit *>(control)) {
        base->SetBounds(150, 120, 380, 140);
        memo->SetScrollBars(ssVertical);
        memo->SetCorrectAnswer(q.Correct);
    } else if (auto *date = qobject_cast<TQADateTime *>(control)) {
        base->SetBounds(200, 150, 186, 21);
        date->SetCorrectAnswer(DateToStr(q.Date));
        // Also where the system's short date format does not read back its own dates.
        date->SetDateAnswer(DateToDayNumber(q.Date));
    }
}

} // namespace

bool AddDemoQuestions(TDbQuery &query, QString *error)
{
    // Test 1: geography; test 2: arithmetic and dates.
    const QList<TDemoQuestion> questions{
        {"TQAMaskEdit", "What is the capital of France?", {}, QStringLiteral("PARIS")},
        {"TQACombobox",
         "Which is the longest river in Africa?",
         {QStringLiteral("Congo"), QStringLiteral("Nile"), QStringLiteral("Niger"), QStringLiteral("Zambezi")},
         QStringLiteral("Nile")},
        {"TQARadioGroup",
         "On which continent is Kenya?",
         {QStringLiteral("Africa"), QStringLiteral("Asia"), QStringLiteral("Europe"), QStringLiteral("South America")},
         QStringLiteral("Africa")},
        {"TQAListbox",
         "Which of these countries border Germany? Select every one that does.",
         {QStringLiteral("Austria"), QStringLiteral("Spain"), QStringLiteral("Poland"), QStringLiteral("Denmark"),
          QStringLiteral("Portugal")},
         QStringLiteral("Austria|Poland|Denmark")},
        {"TQARichEdit",
         "Describe in a few sentences how a river delta is formed.",
         {},
         QStringLiteral("Where a river flows into the sea it slows down and drops the sand and mud it carries.\r\n"
                        "The deposits build up over many years into new, flat land.")},
        {"TQADateTime", "On what date was the Suez Canal opened?", {}, {}, QDate(1869, 11, 17)},

        {"TQAMaskEdit", "How much is 144 divided by 12?", {}, QStringLiteral("12")},
        {"TQACombobox",
         "How much is 15 % of 200?",
         {QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("45")},
         QStringLiteral("30")},
        {"TQARadioGroup",
         "How much is 7 x 8?",
         {QStringLiteral("54"), QStringLiteral("56"), QStringLiteral("63"), QStringLiteral("64")},
         QStringLiteral("56")},
        {"TQAListbox",
         "Which of these numbers is a prime number?",
         {QStringLiteral("21"), QStringLiteral("27"), QStringLiteral("29"), QStringLiteral("33")},
         QStringLiteral("29")},
        {"TQARichEdit",
         "Explain in your own words why any number multiplied by zero is zero.",
         {},
         QStringLiteral("Multiplying by zero means taking a number zero times, so nothing is added up.")},
        {"TQADateTime", "On what date did the Berlin Wall fall?", {}, {}, QDate(1989, 11, 9)},
    };

    RegisterQuestionClasses();
    try {
        int id = 0;
        for (const TDemoQuestion &q : questions) {
            ++id;
            // Each alone on its design surface, as the authoring program saves it.
            QWidget window;
            QWidget *control = CreateComponent(QString::fromLatin1(q.ClassName), &window, &window);
            Shape(control, q, id);
            query.Clear();
            query.Add(QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"));
            query.Add(QStringLiteral("VALUES (%1, %2, %3, :CONTROL)")
                          .arg(id)
                          .arg(QuotedStr(control->objectName()), QuotedStr(QString::fromUtf8(q.Question))));
            query.SetParamText(QStringLiteral("CONTROL"), ComponentToText(control));
            query.ExecSQL();

            const int test = id <= 6 ? 1 : 2;
            const int sequence = id <= 6 ? id : id - 6;
            Exec(query, {QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE)"),
                         QStringLiteral("VALUES (%1, %2, %3)").arg(test).arg(id).arg(sequence)});
        }
    } catch (const Exception &e) {
        if (error)
            *error = e.Message();
        return false;
    }
    return true;
}
