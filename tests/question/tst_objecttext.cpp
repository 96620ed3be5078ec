#include "question/ObjectText.h"

#include <QtTest>

#include <cmath>

namespace {

// Texts in this file are written with \n; the object text ends every line with CR LF.
QString Crlf(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1StringView("\r\n"));
}

QString ErrorOf(const QByteArray &text)
{
    try {
        ParseObjectText(text);
    } catch (const EParserError &e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

const TTextProperty *FindProperty(const TTextObject &object, const QString &path)
{
    for (const TTextProperty &property : object.Properties) {
        if (property.Path == path)
            return &property;
    }
    return nullptr;
}

// The one string value of "object A: TB / Q = ... / end".
TTextValue ReadBackString(const QString &written)
{
    const TTextObject object =
        ParseObjectText(QStringLiteral("object A: TB\r\n  Q = ") + written + QStringLiteral("\r\nend\r\n"));
    return object.Properties.value(0).Value;
}

QString Repeat(const char *piece, int count)
{
    return QString::fromUtf8(piece).repeated(count);
}

} // namespace

class TestObjectText : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void normalise_data();
    void normalise();
    void stringLayout_data();
    void stringLayout();
    void intermediateForm();
    void errors_data();
    void errors();
    void lineTooLong_data();
    void lineTooLong();
    void floatText_data();
    void floatText();
    void dayNumbersRoundTrip();
    void nestingLimit_data();
    void nestingLimit();
    void emptyListNotWritten();
    void invalidUtf8();
};

// Text in the writer's own layout must come back byte for byte.
void TestObjectText::roundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("stored list question") << Crlf("object QAListbox_3: TQAListbox\n"
                                                  "  Left = 200\n"
                                                  "  Top = 150\n"
                                                  "  Width = 121\n"
                                                  "  Height = 97\n"
                                                  "  ExtendedSelect = False\n"
                                                  "  ItemHeight = 13\n"
                                                  "  Items.Strings = (\n"
                                                  "    'red'\n"
                                                  "    'green')\n"
                                                  "  MultiSelect = True\n"
                                                  "  TabOrder = 0\n"
                                                  "  Answers.Strings = (\n"
                                                  "    'red'\n"
                                                  "    'green')\n"
                                                  "  CorrectAnswers.Strings = (\n"
                                                  "    'green')\n"
                                                  "  ID = 3\n"
                                                  "  Question = 'Which of these is a colour of grass?'\n"
                                                  "end\n");
    QTest::newRow("font and set") << Crlf("object QAMaskEdit_1: TQAMaskEdit\n"
                                          "  Font.Charset = DEFAULT_CHARSET\n"
                                          "  Font.Color = clWindowText\n"
                                          "  Font.Height = -11\n"
                                          "  Font.Name = 'MS Sans Serif'\n"
                                          "  Font.Style = [fsBold, fsItalic]\n"
                                          "  Anchors = []\n"
                                          "  Numbers = [1, -3, 250]\n"
                                          "  ParentFont = False\n"
                                          "  ID = 0\n"
                                          "end\n");
    QTest::newRow("unnamed object") << Crlf("object TQAMaskEdit\n  Left = 1\nend\n");
    QTest::newRow("inherited with position") << Crlf("inherited Form1: TForm1 [2]\n  Tag = -5\nend\n");
    QTest::newRow("nested objects") << Crlf("object Form1: TForm1\n"
                                            "  Caption = 'Form'\n"
                                            "  object Panel1: TPanel\n"
                                            "    Left = 8\n"
                                            "    inline Frame1: TFrame1 [0]\n"
                                            "    end\n"
                                            "  end\n"
                                            "  object TLabel\n"
                                            "  end\n"
                                            "end\n");
    QTest::newRow("apostrophe and line break") << Crlf("object A: TB\n"
                                                       "  Question = 'What'#39's new?'\n"
                                                       "  CorrectAnswer = 'one'#13#10'two'#13#10\n"
                                                       "  Empty = ''\n"
                                                       "  Quote = #39\n"
                                                       "end\n");
    QTest::newRow("130 characters") << Crlf("object A: TB\n"
                                            "  Question = \n"
                                            "    '" +
                                            Repeat("x", 64) +
                                            "' +\n"
                                            "    '" +
                                            Repeat("y", 64) +
                                            "' +\n"
                                            "    'zz'\n"
                                            "end\n");
    QTest::newRow("long line in a string list") << Crlf("object A: TB\n"
                                                        "  Lines.Strings = (\n"
                                                        "    'short'\n"
                                                        "    \n"
                                                        "      '" +
                                                        Repeat("x", 64) +
                                                        "' +\n"
                                                        "      'y'\n"
                                                        "    '')\n"
                                                        "end\n");
    QTest::newRow("8-bit text") << Crlf("object A: TB\n  Question = 'Caf\u00e9 \u00fcber \u20ac 5'\nend\n");
    QTest::newRow("wide strings") << Crlf("object A: TB\n"
                                          "  Caption = 'Stra'#223'e '#1055#1088#1080'!'\n"
                                          "  Smile = #128512\n"
                                          "end\n");
    QTest::newRow("numbers") << Crlf("object A: TB\n"
                                     "  Date = 45000.5416666667\n"
                                     "  Small = 1.5E-5\n"
                                     "  Big = 1E20\n"
                                     "  Half = -0.5\n"
                                     "  Single = 1.5s\n"
                                     "  Currency = 125000c\n"
                                     "  Day = 2d\n"
                                     "  Max = 9223372036854775807\n"
                                     "  Min = -9223372036854775808\n"
                                     "end\n");
    QTest::newRow("idents, nil, references") << Crlf("object A: TB\n"
                                                     "  Style = csDropDownList\n"
                                                     "  PopupMenu = Form1.PopupMenu1\n"
                                                     "  Action = nil\n"
                                                     "  Value = Null\n"
                                                     "end\n");
    QTest::newRow("list of mixed values") << Crlf("object A: TB\n"
                                                  "  Values = (\n"
                                                  "    1\n"
                                                  "    'a'\n"
                                                  "    ident\n"
                                                  "    (\n"
                                                  "      2)\n"
                                                  "    []\n"
                                                  "    ())\n"
                                                  "end\n");
    QTest::newRow("collection") << Crlf("object A: TB\n"
                                        "  Columns = <\n"
                                        "    item\n"
                                        "      Width = 10\n"
                                        "    end\n"
                                        "    item [3]\n"
                                        "      Caption = 'x'\n"
                                        "      Values.Strings = (\n"
                                        "        'a')\n"
                                        "    end\n"
                                        "    item\n"
                                        "    end>\n"
                                        "  Empty = <>\n"
                                        "end\n");
    QString longHex;
    for (int i = 0; i < 40; ++i)
        longHex += QStringLiteral("%1").arg(i * 7 % 256, 2, 16, QLatin1Char('0')).toUpper();
    QTest::newRow("binary") << Crlf("object A: TB\n"
                                    "  Short = {0AFF10}\n"
                                    "  Empty = {}\n"
                                    "  Long = {\n"
                                    "    " +
                                    longHex.left(64) +
                                    "\n"
                                    "    " +
                                    longHex.mid(64) +
                                    "}\n"
                                    "end\n");
}

void TestObjectText::roundTrip()
{
    QFETCH(QString, text);
    QCOMPARE(WriteObjectText(ParseObjectText(text)), text);
    QCOMPARE(WriteObjectText(ParseObjectText(text.toUtf8())), text);
}

// Anything the reader accepts comes out in the writer's layout.
void TestObjectText::normalise_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lower-case keywords") << QStringLiteral("OBJECT a: tqamaskedit\nleft=1\nEnD")
                                         << Crlf("object a: tqamaskedit\n  left = 1\nend\n");
    QTest::newRow("one line, tabs") << QStringLiteral("object A:TB\tLeft=1 Top =\t2 end")
                                    << Crlf("object A: TB\n  Left = 1\n  Top = 2\nend\n");
    QTest::newRow("header blanks and position")
        << QStringLiteral("inline A : TB [ 7 ]\nend") << Crlf("inline A: TB [7]\nend\n");
    QTest::newRow("joined strings") << QStringLiteral("object A: TB\n Q = 'a' +\n  'b'#39'c' + #13#10 + 'it''s'\nend")
                                    << Crlf("object A: TB\n  Q = 'ab'#39'c'#13#10'it'#39's'\nend\n");
    QTest::newRow("8-bit codes become text")
        << QStringLiteral("object A: TB\n Q = #233'a'#255\nend") << Crlf("object A: TB\n  Q = '\u00e9a\u00ff'\nend\n");
    QTest::newRow("truth values and nil")
        << QStringLiteral("object A: TB\n A = true\n B = FALSE\n C = NIL\n D = null\nend")
        << Crlf("object A: TB\n  A = True\n  B = False\n  C = nil\n  D = Null\nend\n");
    QTest::newRow("hexadecimal integers")
        << QStringLiteral("object A: TB\n X = $FF\n Y = $FFFFFFFFFFFFFFFF\n S = [$10, a]\nend")
        << Crlf("object A: TB\n  X = 255\n  Y = -1\n  S = [16, a]\nend\n");
    QTest::newRow("floats")
        << QStringLiteral("object A: TB\n A = 1.50\n B = 2.0\n C = 1e3\n D = 3S\n E = -.25\n F = 1.5E+20\nend")
        << Crlf("object A: TB\n  A = 1.5\n  B = 2\n  C = 1000\n  D = 3s\n  E = -0.25\n  F = 1.5E20\nend\n");
    QTest::newRow("dotted path with blanks")
        << QStringLiteral("object A: TB\n Font . Style = [ fsBold , fsItalic ]\nend")
        << Crlf("object A: TB\n  Font.Style = [fsBold, fsItalic]\nend\n");
    QTest::newRow("binary with breaks") << QStringLiteral("object A: TB\n D = { 0a 0B\n\t0c }\nend")
                                        << Crlf("object A: TB\n  D = {0A0B0C}\nend\n");
    QTest::newRow("list and collection on one line")
        << QStringLiteral("object A: TB L = ('a' 'b') C = <item X = 1 end> end")
        << Crlf("object A: TB\n  L = (\n    'a'\n    'b')\n  C = <\n    item\n      X = 1\n    end>\nend\n");
    QTest::newRow("empty list left out") << QStringLiteral("object A: TB\n Items.Strings = ()\n ID = 0\nend")
                                         << Crlf("object A: TB\n  ID = 0\nend\n");
    QTest::newRow("nothing after end is read")
        << QStringLiteral("object A: TB\nend\ngarbage ((( 'unterminated\n") + QString(5000, QLatin1Char('x'))
        << Crlf("object A: TB\nend\n");
    QTest::newRow("longest identifier") << QStringLiteral("object A: TB\n X = ") + QString(255, QLatin1Char('a')) +
                                               QStringLiteral("\nend")
                                        << Crlf("object A: TB\n  X = ") + QString(255, QLatin1Char('a')) +
                                               QStringLiteral("\r\nend\r\n");
}

void TestObjectText::normalise()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const QString written = WriteObjectText(ParseObjectText(input));
    QCOMPARE(written, expected);
    QCOMPARE(WriteObjectText(ParseObjectText(written)), expected);
}

void TestObjectText::stringLayout_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected"); // written at property level 1

    const QString nl = QStringLiteral("\r\n    ");
    QTest::newRow("empty") << QString() << QStringLiteral("''");
    QTest::newRow("64 characters") << Repeat("a", 64) << "'" + Repeat("a", 64) + "'";
    QTest::newRow("65 characters") << Repeat("a", 65) << nl + "'" + Repeat("a", 64) + "' +" + nl + "'a'";
    QTest::newRow("130 characters") << Repeat("a", 130)
                                    << nl + "'" + Repeat("a", 64) + "' +" + nl + "'" + Repeat("a", 64) + "' +" + nl +
                                           "'aa'";
    QTest::newRow("apostrophe") << QStringLiteral("What's new?") << QStringLiteral("'What'#39's new?'");
    QTest::newRow("line break") << QStringLiteral("one\r\ntwo") << QStringLiteral("'one'#13#10'two'");
    QTest::newRow("only codes") << QStringLiteral("'\t") << QStringLiteral("#39#9");
    QTest::newRow("codes count as one character")
        << Repeat("\t", 70) << nl + Repeat("#9", 64) + " +" + nl + Repeat("#9", 6);
    QTest::newRow("break inside a run after a code")
        << Repeat("a", 60) + "'" + Repeat("b", 10)
        << nl + "'" + Repeat("a", 60) + "'#39'bbb' +" + nl + "'" + Repeat("b", 7) + "'";
    QTest::newRow("surrogate pair at the break")
        << Repeat("a", 63) + QStringLiteral("\U0001F600b")
        << nl + "'" + Repeat("a", 63) + "' +" + nl + QStringLiteral("'\U0001F600b'");
    QTest::newRow("surrogate pair after a code at the break")
        << Repeat("a", 62) + QStringLiteral("'\U0001F600")
        << nl + "'" + Repeat("a", 62) + "'#39 +" + nl + QStringLiteral("'\U0001F600'");
    QTest::newRow("non-ASCII in quoted runs")
        << QStringLiteral("\u00e9t\u00e9 \u20ac") << QStringLiteral("'\u00e9t\u00e9 \u20ac'");
}

void TestObjectText::stringLayout()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QString out;
    WriteStringValue(out, value, 1);
    QCOMPARE(out, expected);
    const TTextValue back = ReadBackString(out);
    QCOMPARE(back.Kind, TTextValue::String);
    QCOMPARE(back.Text, value);
}

void TestObjectText::intermediateForm()
{
    const TTextObject object = ParseObjectText(Crlf("object Form1: TForm1 [4]\n"
                                                    "  I = -12\n"
                                                    "  H = $1F\n"
                                                    "  F = 1.5E-5\n"
                                                    "  S = 3s\n"
                                                    "  T = 'x'#233\n"
                                                    "  W = 'x'#300\n"
                                                    "  B = tRuE\n"
                                                    "  N = NULL\n"
                                                    "  R = Form1.Button1\n"
                                                    "  E = [a, 7]\n"
                                                    "  L = ('a' 1)\n"
                                                    "  C = <item [2] X = 1 end>\n"
                                                    "  D = {0aFF}\n"
                                                    "  object Child: TButton\n"
                                                    "  end\n"
                                                    "end\n"));
    QCOMPARE(object.Name, QStringLiteral("Form1"));
    QCOMPARE(object.ClassName, QStringLiteral("TForm1"));
    QCOMPARE(object.Position, 4);
    QCOMPARE(object.Line, 1);
    QCOMPARE(object.Properties.size(), 13);
    QCOMPARE(object.Properties[0].Line, 2);
    QCOMPARE(object.Properties[12].Line, 14);

    const TTextValue &i = FindProperty(object, "I")->Value;
    QCOMPARE(i.Kind, TTextValue::Integer);
    QCOMPARE(i.IntValue, qint64(-12));
    QCOMPARE(FindProperty(object, "H")->Value.IntValue, qint64(31));
    const TTextValue &f = FindProperty(object, "F")->Value;
    QCOMPARE(f.Kind, TTextValue::Float);
    QCOMPARE(f.FloatValue, 1.5e-5);
    QCOMPARE(f.FloatType, char(0));
    const TTextValue &s = FindProperty(object, "S")->Value;
    QCOMPARE(s.Kind, TTextValue::Float);
    QCOMPARE(s.FloatValue, 3.0);
    QCOMPARE(s.FloatType, 's');
    const TTextValue &t = FindProperty(object, "T")->Value;
    QCOMPARE(t.Kind, TTextValue::String);
    QCOMPARE(t.Text, QStringLiteral("x\u00e9"));
    const TTextValue &w = FindProperty(object, "W")->Value;
    QCOMPARE(w.Kind, TTextValue::WideString);
    QCOMPARE(w.Text, QStringLiteral("x\u012c"));
    const TTextValue &b = FindProperty(object, "B")->Value;
    QCOMPARE(b.Kind, TTextValue::Ident);
    QCOMPARE(b.Text, QStringLiteral("True"));
    QCOMPARE(FindProperty(object, "N")->Value.Kind, TTextValue::Nil);
    const TTextValue &r = FindProperty(object, "R")->Value;
    QCOMPARE(r.Kind, TTextValue::Ident);
    QCOMPARE(r.Text, QStringLiteral("Form1.Button1"));
    const TTextValue &e = FindProperty(object, "E")->Value;
    QCOMPARE(e.Kind, TTextValue::Set);
    QCOMPARE(e.Elements, QStringList({"a", "7"}));
    const TTextValue &l = FindProperty(object, "L")->Value;
    QCOMPARE(l.Kind, TTextValue::List);
    QCOMPARE(l.Values.size(), 2);
    QCOMPARE(l.Values[0].Kind, TTextValue::String);
    QCOMPARE(l.Values[1].Kind, TTextValue::Integer);
    const TTextValue &c = FindProperty(object, "C")->Value;
    QCOMPARE(c.Kind, TTextValue::Collection);
    QCOMPARE(c.Items.size(), 1);
    QCOMPARE(c.Items[0].Index, 2);
    QCOMPARE(c.Items[0].Properties.size(), 1);
    QCOMPARE(c.Items[0].Properties[0].Path, QStringLiteral("X"));
    const TTextValue &d = FindProperty(object, "D")->Value;
    QCOMPARE(d.Kind, TTextValue::Binary);
    QCOMPARE(d.Bytes, QByteArray("\x0a\xff"));
    QCOMPARE(object.Children.size(), 1);
    QCOMPARE(object.Children[0].Name, QStringLiteral("Child"));
    QCOMPARE(object.Children[0].Line, 15);

    // A NUL inside a text is a character like any other.
    QCOMPARE(ReadBackString(QStringLiteral("'a'#0'b'")).Text, QString::fromUtf16(u"a\0b", 3));
}

void TestObjectText::errors_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");

    const QByteArray head = "object A: TB\r\n";
    QTest::newRow("empty text") << QByteArray() << "object expected on line 1";
    QTest::newRow("no object keyword") << QByteArray("form A: TB\r\nend\r\n") << "object expected on line 1";
    QTest::newRow("name not an identifier") << QByteArray("object 5: TB\r\nend") << "Identifier expected on line 1";
    QTest::newRow("class missing") << QByteArray("object A:\r\n\r\n= 1") << "Identifier expected on line 3";
    QTest::newRow("position not a number") << QByteArray("object A: TB [x]\r\nend") << "Number expected on line 1";
    QTest::newRow("position not closed") << QByteArray("object A: TB [1\r\nend") << "'']'' expected on line 2";
    QTest::newRow("no equals sign") << head + "  Left 5\r\nend"
                                    << "''='' expected on line 2";
    QTest::newRow("path ends in a dot") << head + "  Font. = 1\r\nend"
                                        << "Identifier expected on line 2";
    QTest::newRow("end of text in properties") << head + "  Left = 1\r\n"
                                               << "Identifier expected on line 3";
    QTest::newRow("property after nested object") << head + "  object C: TD\r\n  end\r\n  Left = 1\r\nend"
                                                  << "end expected on line 4";
    QTest::newRow("line feed in string") << head + "  Q = 'abc\r\nend"
                                         << "Invalid string constant on line 2";
    QTest::newRow("end of text in string") << head + "  Q = 'abc"
                                           << "Invalid string constant on line 2";
    QTest::newRow("NUL in string") << head + QByteArray("  Q = 'a\0b'\r\nend", 17)
                                   << "Invalid string constant on line 2";
    QTest::newRow("code without digits") << head + "  Q = 'a'#x\r\nend"
                                         << "Invalid string constant on line 2";
    QTest::newRow("code beyond Unicode") << head + "  Q = #1114112\r\nend"
                                         << "Invalid string constant on line 2";
    QTest::newRow("surrogate code") << head + "  Q = #55296\r\nend"
                                    << "Invalid string constant on line 2";
    QTest::newRow("huge code") << head + "  Q = #99999999999999999999\r\nend"
                               << "Invalid string constant on line 2";
    QTest::newRow("plus without string") << head + "  Q = 'a' +\r\n\r\n  5\r\nend"
                                         << "String expected on line 4";
    QTest::newRow("no value") << head + "  X = )\r\nend"
                              << "Invalid property value on line 2";
    QTest::newRow("integer overflow") << head + "  X = 9223372036854775808\r\nend"
                                      << "Invalid property value on line 2";
    QTest::newRow("lone minus") << head + "  X = -\r\nend"
                                << "Invalid property value on line 2";
    QTest::newRow("lone dollar") << head + "  X = $\r\nend"
                                 << "Invalid property value on line 2";
    QTest::newRow("two points") << head + "  X = 1.2.3\r\nend"
                                << "Invalid property value on line 2";
    QTest::newRow("float overflow") << head + "  X = 1e999\r\nend"
                                    << "Invalid property value on line 2";
    QTest::newRow("odd hex digits") << head + "  X = {0A0}\r\nend"
                                    << "Invalid binary value on line 2";
    QTest::newRow("no hex digits") << head + "  X = {zz}\r\nend"
                                   << "Invalid binary value on line 2";
    QTest::newRow("binary not closed") << head + "  X = {0A\r\n 0B\r\n"
                                       << "Invalid binary value on line 4";
    QTest::newRow("set without comma") << head + "  X = [a b]\r\nend"
                                       << "'','' expected on line 2";
    QTest::newRow("set with trailing comma") << head + "  X = [a,\r\n]\r\nend"
                                             << "Identifier expected on line 3";
    QTest::newRow("string in set") << head + "  X = ['a']\r\nend"
                                   << "Identifier expected on line 2";
    QTest::newRow("collection without item") << head + "  X = <foo>\r\nend"
                                             << "item expected on line 2";
    QTest::newRow("comma in list") << head + "  X = (1, 2)\r\nend"
                                   << "Invalid property value on line 2";
    QTest::newRow("list not closed") << head + "  X = (\r\n    1\r\n"
                                     << "Invalid property value on line 4";
    QTest::newRow("reference ends in a dot") << head + "  X = Form1.\r\nend"
                                             << "Identifier expected on line 2";
    QTest::newRow("identifier too long") << head + "  X = " + QByteArray(256, 'a') + "\r\nend"
                                         << "Identifier expected on line 2";
    QTest::newRow("carriage return is no line break") << head + "  A = 1\r  B\r x\r\nend"
                                                      << "''='' expected on line 2";
}

void TestObjectText::errors()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QCOMPARE(ErrorOf(text), message);
}

void TestObjectText::lineTooLong_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");

    // "  Q = '" + padding + "'\r\n" is the second line.
    const auto secondLine = [](int bytesWithLf) {
        return "object A: TB\r\n  Q = '" + QByteArray(bytesWithLf - 10, 'x') + "'\r\nend\r\n";
    };
    QTest::newRow("4095 bytes with LF") << secondLine(4095) << "(no error)";
    QTest::newRow("4096 bytes with LF") << secondLine(4096) << "Line too long on line 2";
    QTest::newRow("first line") << "object A: TB" + QByteArray(4083, ' ') + "\nend"
                                << "Line too long on line 1";
    QTest::newRow("first line fits") << "object A: TB" + QByteArray(4082, ' ') + "\nend"
                                     << "(no error)";
    QTest::newRow("last line without LF, 4095") << "object A: TB\nend" + QByteArray(4092, ' ') << "(no error)";
    QTest::newRow("last line without LF, 4096")
        << "object A: TB\nend" + QByteArray(4093, ' ') << "Line too long on line 2";
    QTest::newRow("long line after the end") << "object A: TB\nend\n" + QByteArray(5000, ' ') << "(no error)";
}

void TestObjectText::lineTooLong()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QCOMPARE(ErrorOf(text), message);
}

void TestObjectText::floatText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("date") << 38123.5 << "38123.5";
    QTest::newRow("negative") << -2.25 << "-2.25";
    QTest::newRow("whole") << 100.0 << "100";
    QTest::newRow("1E20") << 1e20 << "1E20";
    QTest::newRow("1.5E-5") << 1.5e-5 << "1.5E-5";
    QTest::newRow("0.0001 stays fixed") << 0.0001 << "0.0001";
    QTest::newRow("15 digits stay fixed") << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 digits") << 1234567890123456.0 << "1.23456789012346E15";
    QTest::newRow("1E15") << 1e15 << "1E15";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("rounding carries") << 0.9999999999999999 << "1";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("tiny") << -1e-300 << "-1E-300";
    QTest::newRow("huge") << 2.5e300 << "2.5E300";
}

void TestObjectText::floatText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FloatToText(value), text);
}

// Dates and times are day numbers; written with 15 digits they must read back unchanged
// as far as 15 digits go.
void TestObjectText::dayNumbersRoundTrip()
{
    for (int day : {1, 36526, 45000, 45657, 73050}) {
        for (int second = 0; second < 86400; second += 997) {
            const double value = day + second / 86400.0;
            const QString text = FloatToText(value);
            const TTextObject object =
                ParseObjectText(QStringLiteral("object A: TB\r\n  Date = %1\r\nend\r\n").arg(text));
            const TTextValue &read = object.Properties[0].Value;
            const double back = read.Kind == TTextValue::Integer ? double(read.IntValue) : read.FloatValue;
            QVERIFY2(std::abs(back - value) <= std::abs(value) * 1e-14, qPrintable(text));
            QCOMPARE(FloatToText(back), text);
        }
    }
    const double exact = 45000.5416666667;
    QCOMPARE(ParseObjectText(QStringLiteral("object A: TB\r\n  Date = %1\r\nend").arg(FloatToText(exact)))
                 .Properties[0]
                 .Value.FloatValue,
             exact);
}

void TestObjectText::nestingLimit_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");

    const auto lists = [](int depth) {
        return "object A: TB\r\n  X = " + QByteArray(depth, '(') + QByteArray(depth, ')') + "\r\nend\r\n";
    };
    const auto objects = [](int depth) {
        QByteArray text;
        for (int i = 0; i < depth; ++i)
            text += "object TB\r\n";
        for (int i = 0; i < depth; ++i)
            text += "end\r\n";
        return text;
    };
    QTest::newRow("255 lists") << lists(255) << "(no error)";
    QTest::newRow("256 lists") << lists(256) << "Invalid property value on line 2";
    QTest::newRow("256 objects") << objects(256) << "(no error)";
    QTest::newRow("257 objects") << objects(257) << "Invalid property value on line 257";
    QTest::newRow("100000 lists") << "object A: TB\r\n  X = " + QByteArray("(\r\n").repeated(100000)
                                  << "Invalid property value on line 257";
    QTest::newRow("deep collections") << "object A: TB\r\n  X = " + QByteArray("<item X = ").repeated(300)
                                      << "Invalid property value on line 2";
}

void TestObjectText::nestingLimit()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QCOMPARE(ErrorOf(text), message);
    if (message == QLatin1StringView("(no error)")) {
        const QString written = WriteObjectText(ParseObjectText(text));
        QCOMPARE(WriteObjectText(ParseObjectText(written)), written);
    }
}

// Built by hand as a control's writer does: an empty string list is not written at all,
// an empty string is ''.
void TestObjectText::emptyListNotWritten()
{
    TTextObject object;
    object.Name = QStringLiteral("QACombobox_0");
    object.ClassName = QStringLiteral("TQACombobox");
    TTextProperty items;
    items.Path = QStringLiteral("Items.Strings");
    items.Value.Kind = TTextValue::List;
    object.Properties.append(items);
    TTextProperty id;
    id.Path = QStringLiteral("ID");
    id.Value.IntValue = 0;
    object.Properties.append(id);
    TTextProperty text;
    text.Path = QStringLiteral("Text");
    text.Value.Kind = TTextValue::String;
    object.Properties.append(text);
    QCOMPARE(WriteObjectText(object), Crlf("object QACombobox_0: TQACombobox\n  ID = 0\n  Text = ''\nend\n"));
}

// Bytes that are not UTF-8 become replacement characters, as QString::fromUtf8 maps them.
void TestObjectText::invalidUtf8()
{
    const QByteArray text = "object A: TB\r\n  Q = 'a\xC3\x28\xFF'#233\r\nend\r\n";
    const TTextObject object = ParseObjectText(text);
    QCOMPARE(object.Properties[0].Value.Text, QStringLiteral("a\uFFFD(\uFFFD\u00e9"));
    const QString written = WriteObjectText(object);
    QCOMPARE(WriteObjectText(ParseObjectText(written)), written);
}

QTEST_GUILESS_MAIN(TestObjectText)
#include "tst_objecttext.moc"
