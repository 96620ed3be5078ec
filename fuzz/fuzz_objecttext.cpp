// Reads any bytes as object text; what reads must write, read back and write the same
// text again. Aborts on a mismatch, so the fuzzer keeps the input.
//
// FUZZ_MODE=rebuild: the bytes are a stored question as the programs load it (decoded
// as stored text is, split into lines, its class taken from the first line) and the
// question control is rebuilt from them; a control that was built must write a text
// that rebuilds, and rebuilding must settle on one text. Errors are fine, crashes,
// leaks and runaway costs are not.

#include "question/ObjectText.h"
#include "question/QuestionText.h"
#include "toolkit/Exception.h"
#include "toolkit/Strings.h"

#include <QApplication>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

bool RebuildMode = false;

[[noreturn]] void Fail(const char *what, const QString &first, const QString &second = QString())
{
    std::fprintf(stderr, "%s\n--- first\n%s\n--- second\n%s\n", what, first.toUtf8().constData(),
                 second.toUtf8().constData());
    std::abort();
}

void CheckText(const QByteArray &text)
{
    TTextObject first;
    try {
        first = ParseObjectText(text);
    } catch (const EParserError &) {
        return;
    }
    const QString written = WriteObjectText(first);
    QString rewritten;
    try {
        rewritten = WriteObjectText(ParseObjectText(written));
    } catch (const EParserError &e) {
        Fail("written text does not read back", written, e.Message());
    }
    if (rewritten != written)
        Fail("second writing differs", written, rewritten);
}

// The control's text, or the empty text when the lines make none.
QString Rebuild(const QString &text, QWidget &window)
{
    QStringList lines = SplitLines(text);
    lines.insert(0, ObjectLineClassName(lines.value(0)));
    QWidget *control = TextToQuestionControl(lines, &window, &window);
    return control ? ComponentToText(control) : QString();
}

void CheckQuestion(const QByteArray &bytes)
{
    QString written;
    {
        QWidget window;
        try {
            written = Rebuild(TextFromBytes(bytes), window);
        } catch (const Exception &) {
            return;
        }
    }
    // A text may name a value its control does not keep as given (a radio group's
    // clWindow is its declared default, so it is not written and comes back as the
    // group's own clBtnFace); from the second writing on the text must stay put.
    for (int round = 0; round < 2 && !written.isEmpty(); ++round) {
        QWidget window;
        QString rewritten;
        try {
            rewritten = Rebuild(written, window);
        } catch (const Exception &e) {
            Fail("a rebuilt control's text does not rebuild", written, e.Message());
        }
        if (round == 1 && rewritten != written)
            Fail("the rebuilt controls keep writing other texts", written, rewritten);
        written = rewritten;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    const char *mode = std::getenv("FUZZ_MODE");
    RebuildMode = mode && std::strcmp(mode, "rebuild") == 0;
    if (RebuildMode) {
        // Question controls are widgets; nothing is shown.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QApplication app(*argc, *argv);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (RebuildMode)
        CheckQuestion(text);
    else
        CheckText(text);
    return 0;
}
