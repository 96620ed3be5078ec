// Reads any bytes as object text; what reads must write, read back and write the same
// text again. Aborts on a mismatch, so the fuzzer keeps the input.

#include "question/ObjectText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    TTextObject first;
    try {
        first = ParseObjectText(text);
    } catch (const EParserError &) {
        return 0;
    }
    const QString written = WriteObjectText(first);
    QString rewritten;
    try {
        rewritten = WriteObjectText(ParseObjectText(written));
    } catch (const EParserError &e) {
        std::fprintf(stderr, "written text does not read back: %s\n%s\n", e.what(), written.toUtf8().constData());
        std::abort();
    }
    if (rewritten != written) {
        std::fprintf(stderr, "second writing differs\n--- first\n%s\n--- second\n%s\n",
                     written.toUtf8().constData(), rewritten.toUtf8().constData());
        std::abort();
    }
    return 0;
}
