#include "question/QuestionText.h"

#include "database/Database.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

namespace {

// a-z to A-Z only; other letters stay as they are.
QString AsciiUpper(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return result;
}

// Blanks are every character with a code of 32 or less.
QString TrimBlanks(const QString &text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && text.at(start).unicode() <= 32)
        ++start;
    while (end > start && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(start, end - start);
}

using TCreateFunction = QWidget *(*)(QObject *owner, QWidget *parent);

template <class T> QWidget *Construct(QObject *owner, QWidget *parent)
{
    return new T(owner, parent);
}

TCreateFunction CreateFunctionFor(const QString &key)
{
    static const QList<QPair<QString, TCreateFunction>> table{
        {QStringLiteral("TQACOMBOBOX"), &Construct<TQACombobox>},
        {QStringLiteral("TQAMASKEDIT"), &Construct<TQAMaskEdit>},
        {QStringLiteral("TQALISTBOX"), &Construct<TQAListbox>},
        {QStringLiteral("TQARADIOGROUP"), &Construct<TQARadioGroup>},
        {QStringLiteral("TQARICHEDIT"), &Construct<TQARichEdit>},
        {QStringLiteral("TQADATETIME"), &Construct<TQADateTime>},
    };
    for (const auto &entry : table)
        if (entry.first == key)
            return entry.second;
    return nullptr;
}

} // namespace

TTextObject ComponentToTextObject(QObject *control)
{
    TTextObject object;
    object.Name = control ? control->objectName() : QString();
    object.ClassName = ComponentClassName(control);
    WriteProperties(PropObjectOf(control), object.Properties);
    return object;
}

QString ComponentToText(QObject *control)
{
    return WriteObjectText(ComponentToTextObject(control));
}

void ReadComponent(QObject *control, const TTextObject &object)
{
    SetComponentName(control, object.Name);
    const TPropObject target = PropObjectOf(control);
    const QString name = control->objectName();
    for (const TTextProperty &property : object.Properties) {
        try {
            if (!target.IsValid())
                throw Exception(QStringLiteral("Property does not exist"));
            ReadProperty(target, property);
        } catch (const Exception &e) {
            throw Exception(
                QStringLiteral("Error reading %1%2%3: %4").arg(name, QStringLiteral("."), property.Path, e.Message()));
        }
    }
    // Question controls have no child controls; a text that names some is refused.
    if (!object.Children.isEmpty())
        throw Exception(QStringLiteral("Class %1 not found").arg(object.Children.first().ClassName));
}

QString ObjectLineClassName(const QString &line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return line;
    return AsciiUpper(TrimBlanks(line.mid(colon + 1)));
}

QWidget *TextToQuestionControl(QStringList &lines, QObject *owner, QWidget *parent)
{
    const QString key = lines.isEmpty() ? QString() : AsciiUpper(lines.takeFirst());
    QString text;
    for (const QString &line : std::as_const(lines)) {
        text += line;
        text += QLatin1String("\r\n");
    }
    const TTextObject object = ParseObjectText(text);

    const TCreateFunction create = CreateFunctionFor(key);
    if (!create)
        return nullptr;
    QWidget *control = create(owner, parent);
    try {
        ReadComponent(control, object);
    } catch (...) {
        // The owner keeps the failed control; it must not stay on the question panel.
        control->hide();
        control->setParent(nullptr);
        throw;
    }
    if (auto *combo = qobject_cast<TQACombobox *>(control))
        combo->Items()->Assign(*combo->Answers());
    return control;
}

int CountSameClass(const QObject *component, const QObject *owner)
{
    if (!component)
        return 0;
    const char *className = component->metaObject()->className();
    int count = 0;
    for (QObject *other : OwnedComponents(owner))
        if (other != component && qstrcmp(other->metaObject()->className(), className) == 0)
            ++count;
    return count;
}

QString GetQuestionText(const QObject *control)
{
    if (!IsQuestionControl(control))
        return QString();
    const auto *question = dynamic_cast<const TQuestionControl *>(control);
    return question ? question->Question() : QString();
}

void CreateQuestionControls(const TControlDefList &defs, TQuestionControlList &controls, QObject *owner,
                            QWidget *parent)
{
    QStringList scratch;
    for (const TControlDefEntry &entry : defs) {
        scratch = SplitLines(entry.Def.Control);
        scratch.insert(0, ObjectLineClassName(scratch.value(0)));
        QWidget *control = TextToQuestionControl(scratch, owner, parent);
        if (control)
            SetComponentName(control, control->objectName() + QLatin1Char('_') +
                                          QString::number(CountSameClass(control, owner) + 1));
        controls.append({GetQuestionText(control), control});
    }
}

void LoadTestQuestions(TDbQuery &query, TControlDefList &defs, const QString &testID)
{
    // The ID goes into the statement text, so only an integer is accepted.
    bool ok = false;
    const int id = StrToIntDef(testID, 0, &ok);
    if (!ok)
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(testID));

    query.Clear();
    query.Add(QStringLiteral("SELECT controldef.*, testdetail.SEQUENCE FROM testdetail, controldef"));
    query.Add(QStringLiteral("WHERE CONTROLID = controldef.ID"));
    query.Add(QStringLiteral("AND TESTID = ") + QString::number(id));
    query.Add(QStringLiteral("ORDER BY SEQUENCE"));
    query.Open();
    while (!query.Eof()) {
        TControlDefEntry entry;
        entry.Def.ID = query.FieldByName(QStringLiteral("ID")).AsInteger();
        entry.Def.Name = query.FieldByName(QStringLiteral("NAME")).AsString();
        entry.Def.Question = query.FieldByName(QStringLiteral("QUESTION")).AsString();
        entry.Def.Control = query.FieldByName(QStringLiteral("CONTROL")).AsString();
        entry.Text = QString::number(entry.Def.ID);
        defs.append(entry);
        query.Next();
    }
    query.Close();
}

void AddReportObj(TReportList &list, QObject *control)
{
    TReportObj report;
    report.Answers = QStringList();
    if (auto *listbox = qobject_cast<TQAListbox *>(control)) {
        report.Question = listbox->Question();
        report.Answers = listbox->Answers()->Lines();
        report.CorrectAnswers = listbox->CorrectAnswers()->Lines();
    } else if (auto *combo = qobject_cast<TQACombobox *>(control)) {
        report.Question = combo->Question();
        report.Answers = combo->Answers()->Lines();
        report.CorrectAnswers = QStringList{combo->CorrectAnswer()};
    } else if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
        report.Question = radio->Question();
        report.Answers = radio->Answers()->Lines();
        report.CorrectAnswers = QStringList{radio->CorrectAnswer()};
    } else if (auto *edit = qobject_cast<TQAMaskEdit *>(control)) {
        report.Question = edit->Question();
        report.Answers.reset();
        report.CorrectAnswers = QStringList{edit->CorrectAnswer()};
    } else if (auto *memo = qobject_cast<TQARichEdit *>(control)) {
        report.Question = memo->Question();
        report.Answers.reset();
        report.CorrectAnswers = QStringList{memo->CorrectAnswer()};
    } else if (auto *date = qobject_cast<TQADateTime *>(control)) {
        report.Question = date->Question();
        report.Answers.reset();
        report.CorrectAnswers = QStringList{date->CorrectAnswer()};
    }
    report.ClassName = AsciiUpper(ComponentClassName(control));
    list.append({report.Question, report});
}
