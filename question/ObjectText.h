#pragma once

// The object text: the line-oriented text in which a question control is stored and
// in which the designer copies controls. Reading goes through an intermediate form
// (TTextObject) before any control exists; writing turns the same form into text.

#include "toolkit/Exception.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A syntax error of the object text: "<message> on line <n>".
class EParserError : public Exception {
public:
    using Exception::Exception;
};

struct TTextProperty;

struct TTextValue {
    enum TKind {
        Integer, // IntValue
        Float, // FloatValue, FloatType
        String, // Text (8-bit string)
        WideString, // Text (a # code of 256 or more occurred)
        Ident, // Text: an identifier, possibly dotted; True/False/enumeration names
        Nil, // nil or Null
        Set, // Elements: identifiers or integers as text
        List, // Values
        Collection, // Items
        Binary, // Bytes
    };
    TKind Kind = Integer;
    qint64 IntValue = 0;
    double FloatValue = 0.0;
    char FloatType = 0; // 0, 's', 'c' or 'd' as written
    QString Text;
    QStringList Elements;
    QList<TTextValue> Values;
    struct TItem {
        int Index = -1; // the bracketed position after 'item', -1 when none
        QList<TTextProperty> Properties;
    };
    QList<TItem> Items;
    QByteArray Bytes;
};

struct TTextProperty {
    QString Path; // "Left", "Font.Style", "Items.Strings"
    TTextValue Value;
    int Line = 0; // line of the path, for error texts
};

struct TTextObject {
    enum TFlavour { Object, Inherited, Inline };
    TFlavour Flavour = Object;
    QString Name; // empty for an unnamed object
    QString ClassName;
    int Position = -1; // the bracketed position in the header, -1 when none
    QList<TTextProperty> Properties;
    QList<TTextObject> Children;
    int Line = 0;
};

// Parses exactly one object; nothing after its 'end' is read. Raises EParserError.
TTextObject ParseObjectText(const QByteArray &utf8);
TTextObject ParseObjectText(const QString &text);

// Writes one object with the exact layout of stored questions, every line ended by
// CR LF including the closing 'end'.
QString WriteObjectText(const TTextObject &object);

// The value writers, for callers that build text piece by piece.
// level is the nesting level of the property line; a string longer than 64 characters
// starts, and continues, on lines indented one level deeper.
void WriteStringValue(QString &out, const QString &value, int level);
QString FloatToText(double value); // shortest form, up to 15 significant digits
