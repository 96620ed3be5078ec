#pragma once

// The published-property model: one ordered table per class. The object text writer
// and reader, the inspector and the designer's create/copy all work through it.

#include "question/ObjectText.h"
#include "toolkit/Graphics.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class QWidget;

enum class TPropKind { Integer, Char, Enumeration, Set, Float, String, Object, StringList, Event };

struct TClassInfo;

// One published property. Accessors take the object the table describes ("self").
struct TPropInfo {
    QString Name;
    TPropKind Kind = TPropKind::Integer;
    QString TypeName; // "Integer", "Boolean", "TColor", "TFont", ...
    bool HasDefault = false;
    qint64 Default = 0; // ordinal kinds only
    QStringList Names; // enumeration identifiers by value; set elements by bit
    const TIdentMap *Idents = nullptr; // integer with named values
    const TClassInfo *ObjectClass = nullptr;

    std::function<bool(const void *)> Stored; // empty: always stored
    std::function<qint64(const void *)> GetOrd;
    std::function<void(void *, qint64)> SetOrd;
    std::function<double(const void *)> GetFloat;
    std::function<void(void *, double)> SetFloat;
    std::function<QString(const void *)> GetStr;
    std::function<void(void *, const QString &)> SetStr;
    std::function<void *(void *)> GetObj;
    std::function<void(void *, const void *)> SetObj; // assigns an object of ObjectClass
    std::function<QStringList(const void *)> GetList;
    std::function<void(void *, const QStringList &)> SetList;

    bool IsStored(const void *self) const { return !Stored || Stored(self); }
    bool IsOrdinal() const
    {
        return Kind == TPropKind::Integer || Kind == TPropKind::Char || Kind == TPropKind::Enumeration ||
               Kind == TPropKind::Set;
    }

    // Builders for the tables.
    TPropInfo &Def(qint64 value)
    {
        HasDefault = true;
        Default = value;
        return *this;
    }
    TPropInfo &StoredIf(std::function<bool(const void *)> condition)
    {
        Stored = std::move(condition);
        return *this;
    }
};

struct TClassInfo {
    QString ClassName;
    QList<TPropInfo> Properties; // declared order
    // The object the accessors work on, for a QObject of this class (nullptr otherwise).
    std::function<void *(QObject *)> Instance;
    // Construction for the class registry (controls only).
    std::function<QWidget *(QObject *owner, QWidget *parent)> Create;

    const TPropInfo *Find(const QString &name) const; // ignoring case
    QList<const TPropInfo *> InOrder() const;
    QList<const TPropInfo *> Alphabetical() const; // ignoring case
};

// An object together with its table.
struct TPropObject {
    const TClassInfo *Class = nullptr;
    void *Self = nullptr;
    bool IsValid() const { return Class && Self; }
};

// The tables of the sub-objects.
const TClassInfo *FontClassInfo();
const TClassInfo *StringsClassInfo();
const TClassInfo *SizeConstraintsClassInfo();
const TClassInfo *MonthCalColorsClassInfo();

// Tables known by class name (every class with published properties adds its own).
void AddClassInfo(const TClassInfo *info);
const TClassInfo *FindClassInfo(const QString &className); // exact name
// The table of an object: its class or the nearest base class that has one.
TPropObject PropObjectOf(QObject *object);
// Published property names of a class in declared order or alphabetically.
QStringList PublishedPropertyNames(const QString &className, bool alphabetical = false);

// The class registry the designer creates controls from.
void RegisterClass(const TClassInfo *info);
const TClassInfo *GetClass(const QString &className); // ignoring case; nullptr if not registered
QList<const TClassInfo *> RegisteredClasses(); // in registration order
QWidget *CreateComponent(const QString &className, QObject *owner, QWidget *parent);

// Access by name (ignoring case). All raise Exception("Property does not exist") for a
// name the class lacks and Exception("Invalid property value") for one of another kind.
const TPropInfo *FindProperty(QObject *object, const QString &name);
qint64 GetOrdProp(QObject *object, const QString &name);
void SetOrdProp(QObject *object, const QString &name, qint64 value);
double GetFloatProp(QObject *object, const QString &name);
void SetFloatProp(QObject *object, const QString &name, double value);
QString GetStrProp(QObject *object, const QString &name);
void SetStrProp(QObject *object, const QString &name, const QString &value);
TPropObject GetObjectProp(QObject *object, const QString &name);
// A dotted path ("Font.Style", "Items.Strings"): the object and property it names.
bool ResolvePropPath(const TPropObject &root, const QString &path, TPropObject *target, const TPropInfo **property);

// Values as text, as the inspector shows them: strings as they are, floats in the
// shortest form, "False"/"True", enumeration identifiers, colours by identifier, other
// integers in decimal, sets as "[fsBold,fsItalic]", objects as "(TFont)", string lists
// as their lines joined by CR LF.
QString GetPropText(const TPropObject &object, const TPropInfo &property);
// Converts the text to the property's type and sets it; Exception("Invalid property value")
// for a text that does not convert.
void SetPropText(const TPropObject &object, const TPropInfo &property, const QString &text);
QString GetPropValue(QObject *object, const QString &path);
void SetPropValue(QObject *object, const QString &path, const QString &text);

// The inspector's type text of a property ("String", "Float", "Boolean", "TColor",
// "Integer", the enumeration's type name, "TFont", "TStrings"), or empty when the
// inspector does not list the property.
QString PropertyTypeText(const TPropInfo &property);

// Object text: the stored properties of an object as text properties (declared order,
// defaults left out, sub-objects as dotted paths); and one text property applied to an
// object (raises Exception with the cause: "Property does not exist", "Invalid property
// value", or the setter's own error).
void WriteProperties(const TPropObject &object, QList<TTextProperty> &out, const QString &prefix = QString());
void ReadProperty(const TPropObject &object, const TTextProperty &property);
