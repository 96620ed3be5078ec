// Object text speed on ~1 MB of question-like objects: reading each object's text into
// the intermediate form, and writing the forms back. Figures are bytes of text per second.

#include "question/ObjectText.h"

#include <benchmark/benchmark.h>

namespace {

TTextProperty Property(const char *path, TTextValue value)
{
    TTextProperty property;
    property.Path = QString::fromLatin1(path);
    property.Value = std::move(value);
    return property;
}

TTextValue Int(qint64 n)
{
    TTextValue value;
    value.IntValue = n;
    return value;
}

TTextValue Ident(const char *text)
{
    TTextValue value;
    value.Kind = TTextValue::Ident;
    value.Text = QString::fromLatin1(text);
    return value;
}

TTextValue Str(const QString &text)
{
    TTextValue value;
    value.Kind = TTextValue::String;
    value.Text = text;
    return value;
}

TTextObject Question(int id)
{
    TTextObject object;
    object.Name = QStringLiteral("QARadioGroup_%1").arg(id);
    object.ClassName = QStringLiteral("TQARadioGroup");
    object.Properties = {
        Property("Left", Int(16 + id % 100)),
        Property("Top", Int(24 + id % 37)),
        Property("Width", Int(185)),
        Property("Height", Int(105)),
        Property("Font.Charset", Ident("DEFAULT_CHARSET")),
        Property("Font.Color", Ident("clWindowText")),
        Property("Font.Height", Int(-11)),
        Property("Font.Name", Str(QStringLiteral("MS Sans Serif"))),
        Property("Font.Style", TTextValue()),
        Property("ParentFont", Ident("False")),
        Property("TabOrder", Int(0)),
    };
    TTextValue &style = object.Properties[8].Value;
    style.Kind = TTextValue::Set;
    style.Elements = {QStringLiteral("fsBold")};
    TTextValue items;
    items.Kind = TTextValue::List;
    for (int i = 0; i < 4; ++i)
        items.Values.append(Str(QStringLiteral("Answer number %1 of question %2").arg(i + 1).arg(id)));
    object.Properties.append(Property("Items.Strings", items));
    object.Properties.append(Property("Answers.Strings", items));
    object.Properties.append(Property("CorrectAnswer", Str(QStringLiteral("Answer number 2 of question %1").arg(id))));
    object.Properties.append(Property("ID", Int(id)));
    QString question;
    while (question.size() < 150)
        question += QStringLiteral("Which one's the teacher's answer, and what's the student's? ");
    question.truncate(150);
    object.Properties.append(Property("Question", Str(question)));
    return object;
}

struct TCorpus {
    QList<QByteArray> Texts;
    QList<TTextObject> Objects;
    qint64 Bytes = 0;

    TCorpus()
    {
        for (int id = 1; Bytes < 1024 * 1024; ++id) {
            const QByteArray text = WriteObjectText(Question(id)).toUtf8();
            Texts.append(text);
            Objects.append(ParseObjectText(text));
            Bytes += text.size();
        }
    }
};

const TCorpus &Corpus()
{
    static const TCorpus corpus;
    return corpus;
}

void BM_ParseObjectText(benchmark::State &state)
{
    const TCorpus &corpus = Corpus();
    for (auto _ : state) {
        for (const QByteArray &text : corpus.Texts) {
            TTextObject object = ParseObjectText(text);
            benchmark::DoNotOptimize(object);
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.Bytes);
    state.counters["objects"] = double(corpus.Texts.size());
}
BENCHMARK(BM_ParseObjectText)->Unit(benchmark::kMillisecond);

// As question loading calls it: from the QString that the database hands back.
void BM_ParseObjectTextFromQString(benchmark::State &state)
{
    const TCorpus &corpus = Corpus();
    QList<QString> texts;
    for (const QByteArray &text : corpus.Texts)
        texts.append(QString::fromUtf8(text));
    for (auto _ : state) {
        for (const QString &text : texts) {
            TTextObject object = ParseObjectText(text);
            benchmark::DoNotOptimize(object);
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.Bytes);
}
BENCHMARK(BM_ParseObjectTextFromQString)->Unit(benchmark::kMillisecond);

void BM_WriteObjectText(benchmark::State &state)
{
    const TCorpus &corpus = Corpus();
    for (auto _ : state) {
        for (const TTextObject &object : corpus.Objects) {
            QString text = WriteObjectText(object);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.Bytes);
}
BENCHMARK(BM_WriteObjectText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
