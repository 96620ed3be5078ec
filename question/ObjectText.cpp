#include "question/ObjectText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {

// The reader works through a 4096-byte window and a window always starts at the start of
// a line, so a line of 4096 bytes or more (its line feed included; for a last line
// without line feed, 4096 bytes or more) cannot be read: "Line too long".
constexpr qsizetype ParseBufSize = 4096;
// Objects, lists and collections nested deeper than this are refused instead of
// being recursed into.
constexpr int MaxNesting = 256;
// Names, class names, property paths and identifier values longer than this are
// refused, so that a written line always fits the reader's window again.
constexpr qsizetype MaxIdentLength = 255;
// Characters of a string value per text line.
constexpr qsizetype LineLength = 64;
// A set is continued on the next line once its line has reached this length.
constexpr qsizetype SetLineLimit = 1024;

enum TCharClass : unsigned char {
    ccOther = 0,
    ccIdentStart = 1, // letters and underscore
    ccDigit = 2,
    ccHexLetter = 4, // a-f, A-F
    ccFloatRun = 8, // 0-9 . + - E e
    ccTypeLetter = 16 // s S c C d D
};

struct TCharTable {
    unsigned char Class[256] = {};
    constexpr TCharTable()
    {
        for (int c = 'a'; c <= 'z'; ++c)
            Class[c] |= ccIdentStart;
        for (int c = 'A'; c <= 'Z'; ++c)
            Class[c] |= ccIdentStart;
        Class[int('_')] |= ccIdentStart;
        for (int c = '0'; c <= '9'; ++c)
            Class[c] |= ccDigit | ccFloatRun;
        for (int c = 'a'; c <= 'f'; ++c)
            Class[c] |= ccHexLetter;
        for (int c = 'A'; c <= 'F'; ++c)
            Class[c] |= ccHexLetter;
        for (char c : {'.', '+', '-', 'e', 'E'})
            Class[int(c)] |= ccFloatRun;
        for (char c : {'s', 'S', 'c', 'C', 'd', 'D'})
            Class[int(c)] |= ccTypeLetter;
    }
};
constexpr TCharTable CharTable;

inline bool Is(char c, unsigned char mask)
{
    return CharTable.Class[static_cast<unsigned char>(c)] & mask;
}
inline bool IsIdentChar(char c)
{
    return Is(c, ccIdentStart | ccDigit);
}
inline bool IsHexDigit(char c)
{
    return Is(c, ccDigit | ccHexLetter);
}
inline int HexValue(char c)
{
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// Case-insensitive match of an ASCII token against a lower-case word.
inline bool SameWord(const char *token, qsizetype length, const char *word)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (word[i] == 0 || (token[i] | 0x20) != word[i])
            return false;
    }
    return word[length] == 0;
}

void AppendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

class TParser {
public:
    TParser(const char *text, qsizetype size) : FPos(text), FEnd(text + size)
    {
        CheckLineLength();
        NextToken();
    }

    TTextObject ParseText()
    {
        TTextObject object;
        ParseObject(object, true);
        return object;
    }

private:
    enum TToken { tkEOF, tkSymbol, tkString, tkInteger, tkFloat, tkChar };

    struct TNestGuard {
        explicit TNestGuard(TParser &parser) : FParser(parser)
        {
            if (++FParser.FDepth > MaxNesting)
                FParser.Error("Invalid property value");
        }
        ~TNestGuard() { --FParser.FDepth; }
        TParser &FParser;
    };

    const char *FPos; // scanning position: just after the current token
    const char *FEnd;
    int FLine = 1;
    int FDepth = 0;

    TToken FToken = tkEOF;
    const char *FTokStart = nullptr;
    char FChar = 0; // tkChar
    char FFloatType = 0; // tkFloat
    bool FWide = false; // tkString
    QString FString; // tkString, decoded
    std::string FBytes; // scratch for the bytes of a string
    std::string FPath; // scratch for a dotted property path

    [[noreturn]] void Error(const QString &message) const
    {
        throw EParserError(QStringLiteral("%1 on line %2").arg(message).arg(FLine));
    }
    [[noreturn]] void Error(const char *message) const { Error(QLatin1StringView(message)); }

    // FPos is at the start of a line.
    void CheckLineLength()
    {
        if (FEnd - FPos >= ParseBufSize && !std::memchr(FPos, '\n', ParseBufSize - 1))
            Error("Line too long");
    }

    void SkipBlanks()
    {
        while (FPos < FEnd) {
            const unsigned char c = static_cast<unsigned char>(*FPos);
            if (c > 32)
                return;
            ++FPos;
            if (c == '\n') {
                ++FLine;
                CheckLineLength();
            }
        }
    }

    void NextToken()
    {
        SkipBlanks();
        FTokStart = FPos;
        if (FPos >= FEnd) {
            FToken = tkEOF;
            return;
        }
        const char c = *FPos;
        if (Is(c, ccIdentStart)) {
            ++FPos;
            while (FPos < FEnd && IsIdentChar(*FPos))
                ++FPos;
            if (FPos - FTokStart > MaxIdentLength)
                Error("Identifier expected");
            FToken = tkSymbol;
        } else if (c == '\'' || c == '#') {
            ScanString();
        } else if (c == '$') {
            ++FPos;
            while (FPos < FEnd && IsHexDigit(*FPos))
                ++FPos;
            FToken = tkInteger;
        } else if (c == '-' || Is(c, ccDigit)) {
            ++FPos;
            while (FPos < FEnd && Is(*FPos, ccDigit))
                ++FPos;
            FToken = tkInteger;
            while (FPos < FEnd && Is(*FPos, ccFloatRun)) {
                ++FPos;
                FToken = tkFloat;
            }
            FFloatType = 0;
            if (FPos < FEnd && Is(*FPos, ccTypeLetter)) {
                FFloatType = char(*FPos | 0x20);
                ++FPos;
                FToken = tkFloat;
            }
        } else {
            FChar = c;
            ++FPos;
            FToken = tkChar;
        }
    }

    // Quoted runs and #codes written next to each other form one string.
    void ScanString()
    {
        FBytes.clear();
        FWide = false;
        while (FPos < FEnd) {
            if (*FPos == '#') {
                ++FPos;
                if (FPos >= FEnd || !Is(*FPos, ccDigit))
                    Error("Invalid string constant");
                char32_t code = 0;
                while (FPos < FEnd && Is(*FPos, ccDigit)) {
                    if (code <= 0x10FFFF) // stop growing; the value is refused below anyway
                        code = code * 10 + char32_t(*FPos - '0');
                    ++FPos;
                }
                if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                    Error("Invalid string constant");
                if (code >= 256)
                    FWide = true;
                AppendUtf8(FBytes, code);
            } else if (*FPos == '\'') {
                ++FPos;
                for (;;) {
                    const char *run = FPos;
                    while (FPos < FEnd && *FPos != '\'' && *FPos != '\r' && *FPos != '\n' && *FPos != 0)
                        ++FPos;
                    FBytes.append(run, FPos - run);
                    if (FPos >= FEnd || *FPos != '\'')
                        Error("Invalid string constant");
                    ++FPos;
                    if (FPos < FEnd && *FPos == '\'') {
                        FBytes += '\'';
                        ++FPos;
                        continue;
                    }
                    break;
                }
            } else {
                break;
            }
        }
        FString = QString::fromUtf8(FBytes.data(), qsizetype(FBytes.size()));
        FToken = tkString;
    }

    bool IsChar(char c) const { return FToken == tkChar && FChar == c; }
    bool TokenSymbolIs(const char *word) const
    {
        return FToken == tkSymbol && SameWord(FTokStart, FPos - FTokStart, word);
    }
    bool IsObjectKeyword() const
    {
        return TokenSymbolIs("object") || TokenSymbolIs("inherited") || TokenSymbolIs("inline");
    }
    QString TokenText() const { return QString::fromLatin1(FTokStart, FPos - FTokStart); }

    void CheckToken(TToken token) const
    {
        if (FToken == token)
            return;
        switch (token) {
        case tkString:
            Error("String expected");
        case tkInteger:
        case tkFloat:
            Error("Number expected");
        default:
            Error("Identifier expected");
        }
    }
    void CheckChar(char c) const
    {
        if (!IsChar(c))
            Error(QStringLiteral("''%1'' expected").arg(QLatin1Char(c)));
    }
    void CheckKeyword(const char *word) const
    {
        if (!TokenSymbolIs(word))
            Error(QStringLiteral("%1 expected").arg(QLatin1StringView(word)));
    }

    // A number token that does not convert (out of range, a lone '-' or '$', a run
    // like 1.2.3) is an invalid value.
    qint64 TokenInt() const
    {
        if (*FTokStart == '$') {
            quint64 value = 0;
            const auto [ptr, ec] = std::from_chars(FTokStart + 1, FPos, value, 16);
            if (ec != std::errc() || ptr != FPos)
                Error("Invalid property value");
            return qint64(value); // $FFFFFFFFFFFFFFFF is -1
        }
        qint64 value = 0;
        const auto [ptr, ec] = std::from_chars(FTokStart, FPos, value, 10);
        if (ec != std::errc() || ptr != FPos)
            Error("Invalid property value");
        return value;
    }
    double TokenFloat() const
    {
        const char *end = FFloatType ? FPos - 1 : FPos;
        double value = 0;
        const auto [ptr, ec] = std::from_chars(FTokStart, end, value);
        if (ec != std::errc() || ptr != end || !std::isfinite(value))
            Error("Invalid property value");
        return value;
    }

    int ParseOrderModifier()
    {
        if (!IsChar('['))
            return -1;
        NextToken();
        CheckToken(tkInteger);
        const qint64 position = TokenInt();
        if (position < 0 || position > INT_MAX)
            Error("Invalid property value");
        NextToken();
        CheckChar(']');
        NextToken();
        return int(position);
    }

    void ParseObject(TTextObject &object, bool outermost)
    {
        TNestGuard guard(*this);
        if (TokenSymbolIs("inherited"))
            object.Flavour = TTextObject::Inherited;
        else if (TokenSymbolIs("inline"))
            object.Flavour = TTextObject::Inline;
        else
            CheckKeyword("object");
        object.Line = FLine;
        NextToken();
        CheckToken(tkSymbol);
        QString first = TokenText();
        NextToken();
        if (IsChar(':')) {
            NextToken();
            CheckToken(tkSymbol);
            object.Name = std::move(first);
            object.ClassName = TokenText();
            NextToken();
        } else {
            object.ClassName = std::move(first);
        }
        object.Position = ParseOrderModifier();
        while (!TokenSymbolIs("end") && !IsObjectKeyword())
            ParseProperty(object.Properties.emplace_back());
        while (IsObjectKeyword())
            ParseObject(object.Children.emplace_back(), false);
        CheckKeyword("end");
        if (!outermost) // nothing after the outermost 'end' is read
            NextToken();
    }

    void ParseProperty(TTextProperty &property)
    {
        CheckToken(tkSymbol);
        property.Line = FLine;
        const char *start = FTokStart;
        const qsizetype firstLength = FPos - FTokStart;
        NextToken();
        if (!IsChar('.')) {
            property.Path = QString::fromLatin1(start, firstLength);
        } else {
            FPath.assign(start, firstLength);
            while (IsChar('.')) {
                NextToken();
                CheckToken(tkSymbol);
                FPath += '.';
                FPath.append(FTokStart, FPos - FTokStart);
                if (qsizetype(FPath.size()) > MaxIdentLength)
                    Error("Identifier expected");
                NextToken();
            }
            property.Path = QString::fromLatin1(FPath.data(), qsizetype(FPath.size()));
        }
        CheckChar('=');
        NextToken();
        ParseValue(property.Value);
    }

    void ParseValue(TTextValue &value)
    {
        switch (FToken) {
        case tkInteger:
            value.Kind = TTextValue::Integer;
            value.IntValue = TokenInt();
            NextToken();
            break;
        case tkFloat:
            value.Kind = TTextValue::Float;
            value.FloatValue = TokenFloat();
            value.FloatType = FFloatType;
            NextToken();
            break;
        case tkString: {
            bool wide = FWide;
            value.Text = std::move(FString);
            NextToken();
            while (IsChar('+')) {
                NextToken();
                CheckToken(tkString);
                value.Text += FString;
                wide = wide || FWide;
                NextToken();
            }
            value.Kind = wide ? TTextValue::WideString : TTextValue::String;
            break;
        }
        case tkSymbol:
            ParseIdentValue(value);
            break;
        case tkChar:
            switch (FChar) {
            case '[':
                ParseSet(value);
                return;
            case '(':
                ParseList(value);
                return;
            case '<':
                ParseCollection(value);
                return;
            case '{':
                ParseBinary(value);
                return;
            }
            [[fallthrough]];
        default:
            Error("Invalid property value");
        }
    }

    // A reference to another component continues with '.' and an identifier, no blanks.
    void ParseIdentValue(TTextValue &value)
    {
        while (FPos < FEnd && *FPos == '.') {
            ++FPos;
            if (FPos >= FEnd || !Is(*FPos, ccIdentStart))
                Error("Identifier expected");
            while (FPos < FEnd && IsIdentChar(*FPos))
                ++FPos;
            if (FPos - FTokStart > MaxIdentLength)
                Error("Identifier expected");
        }
        const qsizetype length = FPos - FTokStart;
        if (SameWord(FTokStart, length, "true")) {
            value.Kind = TTextValue::Ident;
            value.Text = QStringLiteral("True");
        } else if (SameWord(FTokStart, length, "false")) {
            value.Kind = TTextValue::Ident;
            value.Text = QStringLiteral("False");
        } else if (SameWord(FTokStart, length, "nil")) {
            value.Kind = TTextValue::Nil;
            value.Text = QStringLiteral("nil");
        } else if (SameWord(FTokStart, length, "null")) {
            value.Kind = TTextValue::Nil;
            value.Text = QStringLiteral("Null");
        } else {
            value.Kind = TTextValue::Ident;
            value.Text = QString::fromLatin1(FTokStart, length);
        }
        NextToken();
    }

    void ParseSet(TTextValue &value)
    {
        value.Kind = TTextValue::Set;
        NextToken();
        if (!IsChar(']')) {
            for (;;) {
                if (FToken == tkInteger)
                    value.Elements.append(QString::number(TokenInt())); // as decimal, never overlong
                else {
                    CheckToken(tkSymbol);
                    value.Elements.append(TokenText());
                }
                NextToken();
                if (IsChar(']'))
                    break;
                CheckChar(',');
                NextToken();
            }
        }
        NextToken();
    }

    void ParseList(TTextValue &value)
    {
        TNestGuard guard(*this);
        value.Kind = TTextValue::List;
        NextToken();
        while (!IsChar(')'))
            ParseValue(value.Values.emplace_back());
        NextToken();
    }

    void ParseCollection(TTextValue &value)
    {
        TNestGuard guard(*this);
        value.Kind = TTextValue::Collection;
        NextToken();
        while (!IsChar('>')) {
            CheckKeyword("item");
            NextToken();
            TTextValue::TItem &item = value.Items.emplace_back();
            item.Index = ParseOrderModifier();
            while (!TokenSymbolIs("end"))
                ParseProperty(item.Properties.emplace_back());
            NextToken();
        }
        NextToken();
    }

    // Called with FPos just after '{'.
    void ParseBinary(TTextValue &value)
    {
        value.Kind = TTextValue::Binary;
        SkipBlanks();
        while (FPos < FEnd && *FPos != '}') {
            const char *run = FPos;
            while (FEnd - FPos >= 2 && IsHexDigit(FPos[0]) && IsHexDigit(FPos[1])) {
                value.Bytes.append(char(HexValue(FPos[0]) << 4 | HexValue(FPos[1])));
                FPos += 2;
            }
            if (FPos == run)
                Error("Invalid binary value");
            SkipBlanks();
        }
        if (FPos >= FEnd)
            Error("Invalid binary value");
        ++FPos;
        NextToken();
    }
};

// Decimal digits and exponent of a finite, non-zero value rounded to 15 significant
// digits; returns the number of digits after trailing zeros are dropped.
int DecimalDigits(double value, char (&digits)[16], int &exponent, bool &negative)
{
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const char *p = buffer;
    negative = *p == '-';
    if (negative)
        ++p;
    int count = 0;
    for (; p < result.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            digits[count++] = *p;
    }
    ++p; // 'e'
    const bool negativeExponent = *p == '-';
    ++p; // sign
    exponent = 0;
    std::from_chars(p, result.ptr, exponent);
    if (negativeExponent)
        exponent = -exponent;
    while (count > 1 && digits[count - 1] == '0')
        --count;
    return count;
}

class TWriter {
public:
    explicit TWriter(QString &out) : FOut(out) { }

    void WriteObject(const TTextObject &object, int level)
    {
        Indent(level);
        switch (object.Flavour) {
        case TTextObject::Inherited:
            FOut += QLatin1StringView("inherited ");
            break;
        case TTextObject::Inline:
            FOut += QLatin1StringView("inline ");
            break;
        default:
            FOut += QLatin1StringView("object ");
        }
        if (!object.Name.isEmpty()) {
            FOut += object.Name;
            FOut += QLatin1StringView(": ");
        }
        FOut += object.ClassName;
        if (object.Position >= 0)
            WritePosition(object.Position);
        LineBreak();
        for (const TTextProperty &property : object.Properties)
            WriteProperty(property, level + 1);
        for (const TTextObject &child : object.Children)
            WriteObject(child, level + 1);
        Indent(level);
        FOut += QLatin1StringView("end");
        LineBreak();
    }

    void WriteProperty(const TTextProperty &property, int level)
    {
        if (property.Value.Kind == TTextValue::List && property.Value.Values.isEmpty())
            return; // an empty list is not written at all
        Indent(level);
        FOut += property.Path;
        FOut += QLatin1StringView(" = ");
        WriteValue(property.Value, level);
        LineBreak();
    }

    void WriteValue(const TTextValue &value, int level)
    {
        switch (value.Kind) {
        case TTextValue::Integer:
            WriteInteger(value.IntValue);
            break;
        case TTextValue::Float: {
            FOut += FloatToText(value.FloatValue);
            if (value.FloatType)
                FOut += QLatin1Char(value.FloatType);
            break;
        }
        case TTextValue::String:
            WriteString(value.Text, level, false);
            break;
        case TTextValue::WideString:
            WriteString(value.Text, level, true);
            break;
        case TTextValue::Ident:
            FOut += value.Text;
            break;
        case TTextValue::Nil:
            FOut += value.Text.compare(QLatin1StringView("Null"), Qt::CaseInsensitive) == 0 ? QLatin1StringView("Null")
                                                                                            : QLatin1StringView("nil");
            break;
        case TTextValue::Set:
            WriteSet(value.Elements, level);
            break;
        case TTextValue::List:
            FOut += QLatin1Char('(');
            for (const TTextValue &item : value.Values) {
                NewLine(level + 1);
                WriteValue(item, level + 1);
            }
            FOut += QLatin1Char(')');
            break;
        case TTextValue::Collection:
            FOut += QLatin1Char('<');
            for (const TTextValue::TItem &item : value.Items) {
                NewLine(level + 1);
                FOut += QLatin1StringView("item");
                if (item.Index >= 0)
                    WritePosition(item.Index);
                LineBreak();
                for (const TTextProperty &property : item.Properties)
                    WriteProperty(property, level + 2);
                Indent(level + 1);
                FOut += QLatin1StringView("end");
            }
            FOut += QLatin1Char('>');
            break;
        case TTextValue::Binary:
            WriteBinary(value.Bytes, level);
            break;
        }
    }

    // 8-bit strings keep every character from 32 up (but the apostrophe) in quoted
    // runs; wide strings write everything above 127 as a # code of its code point.
    void WriteString(const QString &value, int level, bool wide)
    {
        const qsizetype length = value.size();
        if (length == 0) {
            FOut += QLatin1StringView("''");
            return;
        }
        ++level;
        if (length > LineLength)
            NewLine(level);
        const QChar *s = value.constData();
        qsizetype i = 0;
        qsizetype lineStart = 0;
        do {
            bool lineBreak = false;
            if (IsRunChar(s[i], wide)) {
                const qsizetype run = i;
                do
                    ++i;
                while (i < length && IsRunChar(s[i], wide) && i - lineStart < LineLength);
                if (i - lineStart >= LineLength) {
                    lineBreak = true;
                    if (i < length && s[i].isLowSurrogate() && s[i - 1].isHighSurrogate())
                        --i; // never split a surrogate pair
                }
                if (i > run) {
                    FOut += QLatin1Char('\'');
                    FOut.append(s + run, i - run);
                    FOut += QLatin1Char('\'');
                }
            } else {
                char32_t code = s[i].unicode();
                ++i;
                if (QChar::isHighSurrogate(code) && i < length && s[i].isLowSurrogate())
                    code = QChar::surrogateToUcs4(char16_t(code), s[i++].unicode());
                else if (QChar::isSurrogate(code))
                    code = QChar::ReplacementCharacter; // a lone half could not be read back
                FOut += QLatin1Char('#');
                WriteInteger(code);
                if (i - lineStart >= LineLength)
                    lineBreak = true;
            }
            if (lineBreak && i < length) {
                FOut += QLatin1StringView(" +");
                NewLine(level);
                lineStart = i;
            }
        } while (i < length);
    }

private:
    QString &FOut;

    static bool IsRunChar(QChar c, bool wide)
    {
        const char16_t u = c.unicode();
        return u >= 32 && u != '\'' && (!wide || u <= 127);
    }

    void LineBreak() { FOut += QLatin1StringView("\r\n"); }

    void Indent(int level)
    {
        static constexpr char Blanks[] = "                                                                ";
        constexpr qsizetype Chunk = sizeof Blanks - 1;
        for (qsizetype n = 2 * qsizetype(level); n > 0; n -= Chunk)
            FOut += QLatin1StringView(Blanks, std::min(n, Chunk));
    }

    void NewLine(int level)
    {
        LineBreak();
        Indent(level);
    }

    void WriteInteger(qint64 value)
    {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        FOut += QLatin1StringView(buffer, result.ptr - buffer);
    }

    void WritePosition(int position)
    {
        FOut += QLatin1StringView(" [");
        WriteInteger(position);
        FOut += QLatin1Char(']');
    }

    void WriteSet(const QStringList &elements, int level)
    {
        qsizetype lineStart = FOut.lastIndexOf(QLatin1Char('\n')) + 1;
        FOut += QLatin1Char('[');
        for (qsizetype i = 0; i < elements.size(); ++i) {
            if (i > 0) {
                if (FOut.size() - lineStart + elements[i].size() + 2 > SetLineLimit) {
                    FOut += QLatin1Char(',');
                    LineBreak();
                    lineStart = FOut.size();
                    Indent(level + 1);
                } else {
                    FOut += QLatin1StringView(", ");
                }
            }
            FOut += elements[i];
        }
        FOut += QLatin1Char(']');
    }

    // Up to 32 bytes on one line after '{'; more go on lines of their own, 32 bytes each.
    void WriteBinary(const QByteArray &bytes, int level)
    {
        static constexpr char Hex[] = "0123456789ABCDEF";
        constexpr qsizetype BytesPerLine = 32;
        const bool multiLine = bytes.size() >= BytesPerLine;
        FOut += QLatin1Char('{');
        for (qsizetype i = 0; i < bytes.size(); i += BytesPerLine) {
            if (multiLine)
                NewLine(level + 1);
            char line[2 * BytesPerLine];
            const qsizetype count = std::min(BytesPerLine, bytes.size() - i);
            for (qsizetype j = 0; j < count; ++j) {
                const auto b = static_cast<unsigned char>(bytes[i + j]);
                line[2 * j] = Hex[b >> 4];
                line[2 * j + 1] = Hex[b & 15];
            }
            FOut += QLatin1StringView(line, 2 * count);
        }
        FOut += QLatin1Char('}');
    }
};

} // namespace

TTextObject ParseObjectText(const QByteArray &utf8)
{
    TParser parser(utf8.constData(), utf8.size());
    return parser.ParseText();
}

TTextObject ParseObjectText(const QString &text)
{
    return ParseObjectText(text.toUtf8());
}

QString WriteObjectText(const TTextObject &object)
{
    QString out;
    out.reserve(256 + 48 * object.Properties.size());
    TWriter(out).WriteObject(object, 0);
    return out;
}

void WriteStringValue(QString &out, const QString &value, int level)
{
    TWriter(out).WriteString(value, level, false);
}

// The general form with 15 significant digits: fixed point while the decimal exponent
// lies between -4 and 14 (0.0001 .. 999999999999999), otherwise d.dddE[-]x.
QString FloatToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    char digits[16];
    int exponent = 0;
    bool negative = false;
    const int count = DecimalDigits(value, digits, exponent, negative);
    char text[48];
    char *o = text;
    if (negative)
        *o++ = '-';
    if (exponent >= 15 || exponent < -4) {
        *o++ = digits[0];
        if (count > 1) {
            *o++ = '.';
            for (int i = 1; i < count; ++i)
                *o++ = digits[i];
        }
        *o++ = 'E';
        o = std::to_chars(o, text + sizeof text, exponent).ptr;
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i)
            *o++ = i < count ? digits[i] : '0';
        if (count > exponent + 1) {
            *o++ = '.';
            for (int i = exponent + 1; i < count; ++i)
                *o++ = digits[i];
        }
    } else {
        *o++ = '0';
        *o++ = '.';
        for (int i = 0; i < -exponent - 1; ++i)
            *o++ = '0';
        for (int i = 0; i < count; ++i)
            *o++ = digits[i];
    }
    return QString::fromLatin1(text, o - text);
}
