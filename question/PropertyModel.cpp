#include "question/PropertyModel.h"

#include "question/PropertyTables.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

#include <QHash>
#include <QObject>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

const QString InvalidValue = QStringLiteral("Invalid property value");
const QString NoProperty = QStringLiteral("Property does not exist");

QHash<QString, const TClassInfo *> &KnownClasses()
{
    static QHash<QString, const TClassInfo *> classes;
    return classes;
}

QList<const TClassInfo *> &Registry()
{
    static QList<const TClassInfo *> registry;
    return registry;
}

QStringList Words(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

[[noreturn]] void Invalid()
{
    throw Exception(InvalidValue);
}

bool IsColorProperty(const TPropInfo &p);

// An integer read from the text must lie in its property's range: a signed 32-bit
// number, or for a colour any 32-bit pattern (so $80000005 is clWindow).
qint64 CheckedInt(const TPropInfo &p, qint64 value)
{
    const qint64 highest = IsColorProperty(p) ? qint64(UINT32_MAX) : qint64(INT32_MAX);
    if (value < INT32_MIN || value > highest)
        Invalid();
    return static_cast<qint32>(static_cast<quint32>(value & 0xFFFFFFFF));
}

int EnumValue(const TPropInfo &p, const QString &ident)
{
    for (int i = 0; i < p.Names.size(); ++i)
        if (p.Names.at(i).compare(ident, Qt::CaseInsensitive) == 0)
            return i;
    Invalid();
}

qint64 SetValue(const TPropInfo &p, const QStringList &elements)
{
    qint64 bits = 0;
    for (const QString &e : elements)
        bits |= qint64(1) << EnumValue(p, e.trimmed());
    return bits;
}

QStringList SetElements(const TPropInfo &p, qint64 bits)
{
    QStringList elements;
    for (int i = 0; i < p.Names.size(); ++i)
        if (bits & (qint64(1) << i))
            elements << p.Names.at(i);
    return elements;
}

bool IsColorProperty(const TPropInfo &p)
{
    return p.TypeName == QLatin1String("TColor") || p.Name.contains(QLatin1String("Color"));
}

TTextValue TextValueOf(const TPropInfo &p, const void *self)
{
    TTextValue v;
    switch (p.Kind) {
    case TPropKind::Integer: {
        const qint64 value = p.GetOrd(self);
        QString name;
        if (p.Idents && p.Idents->ToIdent(static_cast<int>(value), &name)) {
            v.Kind = TTextValue::Ident;
            v.Text = name;
        } else {
            v.Kind = TTextValue::Integer;
            v.IntValue = value;
        }
        break;
    }
    case TPropKind::Char:
        v.Kind = TTextValue::String;
        v.Text = QString(QChar(static_cast<char16_t>(p.GetOrd(self))));
        break;
    case TPropKind::Enumeration:
        v.Kind = TTextValue::Ident;
        v.Text = p.Names.value(static_cast<int>(p.GetOrd(self)));
        break;
    case TPropKind::Set:
        v.Kind = TTextValue::Set;
        v.Elements = SetElements(p, p.GetOrd(self));
        break;
    case TPropKind::Float:
        v.Kind = TTextValue::Float;
        v.FloatValue = p.GetFloat(self);
        break;
    case TPropKind::String:
        v.Kind = TTextValue::String;
        v.Text = p.GetStr(self);
        break;
    case TPropKind::StringList: {
        v.Kind = TTextValue::List;
        for (const QString &line : p.GetList(self)) {
            TTextValue item;
            item.Kind = TTextValue::String;
            item.Text = line;
            v.Values.append(item);
        }
        break;
    }
    case TPropKind::Object:
    case TPropKind::Event:
        break;
    }
    return v;
}

void ApplyTextValue(const TPropInfo &p, void *self, const TTextValue &v)
{
    switch (p.Kind) {
    case TPropKind::Integer:
        if (v.Kind == TTextValue::Integer) {
            p.SetOrd(self, CheckedInt(p, v.IntValue));
            return;
        }
        if (v.Kind == TTextValue::Ident && p.Idents) {
            int value = 0;
            if (p.Idents->FromIdent(v.Text, &value)) {
                p.SetOrd(self, value);
                return;
            }
        }
        Invalid();
    case TPropKind::Char:
        if ((v.Kind == TTextValue::String || v.Kind == TTextValue::WideString) && v.Text.size() <= 1) {
            p.SetOrd(self, v.Text.isEmpty() ? 0 : v.Text.at(0).unicode());
            return;
        }
        if (v.Kind == TTextValue::Integer && v.IntValue >= 0 && v.IntValue <= 0xFFFF) {
            p.SetOrd(self, v.IntValue);
            return;
        }
        Invalid();
    case TPropKind::Enumeration:
        if (v.Kind != TTextValue::Ident)
            Invalid();
        p.SetOrd(self, EnumValue(p, v.Text));
        return;
    case TPropKind::Set:
        if (v.Kind != TTextValue::Set)
            Invalid();
        p.SetOrd(self, SetValue(p, v.Elements));
        return;
    case TPropKind::Float:
        if (v.Kind == TTextValue::Float && std::isfinite(v.FloatValue))
            p.SetFloat(self, v.FloatValue);
        else if (v.Kind == TTextValue::Integer)
            p.SetFloat(self, static_cast<double>(v.IntValue));
        else
            Invalid();
        return;
    case TPropKind::String:
        if (v.Kind != TTextValue::String && v.Kind != TTextValue::WideString)
            Invalid();
        p.SetStr(self, v.Text);
        return;
    case TPropKind::StringList: {
        if (v.Kind != TTextValue::List)
            Invalid();
        QStringList lines;
        for (const TTextValue &item : v.Values) {
            if (item.Kind != TTextValue::String && item.Kind != TTextValue::WideString)
                Invalid();
            lines << item.Text;
        }
        p.SetList(self, lines);
        return;
    }
    case TPropKind::Object:
        // Only "no object" can be read into an object property itself.
        if (v.Kind == TTextValue::Nil)
            return;
        Invalid();
    case TPropKind::Event:
        Invalid();
    }
}

bool TextToOrdinal(const TPropInfo &p, const QString &text, qint64 *value)
{
    const QString t = text.trimmed();
    switch (p.Kind) {
    case TPropKind::Integer: {
        if (IsColorProperty(p)) {
            TColor color = 0;
            if (!StringToColor(t, &color))
                return false;
            *value = color;
            return true;
        }
        int named = 0;
        if (p.Idents && p.Idents->FromIdent(t, &named)) {
            *value = named;
            return true;
        }
        bool ok = false;
        const int number = StrToIntDef(t, 0, &ok);
        if (!ok)
            return false;
        *value = number;
        return true;
    }
    case TPropKind::Char:
        if (text.size() > 1)
            return false;
        *value = text.isEmpty() ? 0 : text.at(0).unicode();
        return true;
    case TPropKind::Enumeration:
        for (int i = 0; i < p.Names.size(); ++i)
            if (p.Names.at(i).compare(t, Qt::CaseInsensitive) == 0) {
                *value = i;
                return true;
            }
        return false;
    case TPropKind::Set: {
        QString inner = t;
        if (inner.startsWith(QLatin1Char('[')) && inner.endsWith(QLatin1Char(']')))
            inner = inner.mid(1, inner.size() - 2);
        qint64 bits = 0;
        for (const QString &e : inner.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            qint64 element = 0;
            bool found = false;
            for (int i = 0; i < p.Names.size() && !found; ++i)
                if (p.Names.at(i).compare(e.trimmed(), Qt::CaseInsensitive) == 0) {
                    element = i;
                    found = true;
                }
            if (!found)
                return false;
            bits |= qint64(1) << element;
        }
        *value = bits;
        return true;
    }
    default:
        return false;
    }
}

} // namespace

QString EventTypeName(const QString &eventName)
{
    static const QHash<QString, QString> types{
        {QStringLiteral("OnKeyDown"), QStringLiteral("TKeyEvent")},
        {QStringLiteral("OnKeyUp"), QStringLiteral("TKeyEvent")},
        {QStringLiteral("OnKeyPress"), QStringLiteral("TKeyPressEvent")},
        {QStringLiteral("OnMouseDown"), QStringLiteral("TMouseEvent")},
        {QStringLiteral("OnMouseUp"), QStringLiteral("TMouseEvent")},
        {QStringLiteral("OnMouseMove"), QStringLiteral("TMouseMoveEvent")},
        {QStringLiteral("OnDragDrop"), QStringLiteral("TDragDropEvent")},
        {QStringLiteral("OnDragOver"), QStringLiteral("TDragOverEvent")},
        {QStringLiteral("OnEndDock"), QStringLiteral("TEndDragEvent")},
        {QStringLiteral("OnEndDrag"), QStringLiteral("TEndDragEvent")},
        {QStringLiteral("OnStartDock"), QStringLiteral("TStartDockEvent")},
        {QStringLiteral("OnStartDrag"), QStringLiteral("TStartDragEvent")},
        {QStringLiteral("OnDrawItem"), QStringLiteral("TDrawItemEvent")},
        {QStringLiteral("OnMeasureItem"), QStringLiteral("TMeasureItemEvent")},
    };
    return types.value(eventName, QStringLiteral("TNotifyEvent"));
}

namespace PropNames {
#define CORVELLA_NAMES(fn, text)                                                                                       \
    const QStringList &fn()                                                                                            \
    {                                                                                                                  \
        static const QStringList names = Words(text);                                                                  \
        return names;                                                                                                  \
    }
CORVELLA_NAMES(Align, "alNone alTop alBottom alLeft alRight alClient")
CORVELLA_NAMES(Anchors, "akLeft akTop akRight akBottom")
CORVELLA_NAMES(BiDiMode, "bdLeftToRight bdRightToLeft bdRightToLeftNoAlign bdRightToLeftReadingOnly")
CORVELLA_NAMES(DragKind, "dkDrag dkDock")
CORVELLA_NAMES(DragMode, "dmManual dmAutomatic")
CORVELLA_NAMES(ImeMode, "imDisable imClose imOpen imDontCare imSAlpha imAlpha imHira imSKata imKata imChinese "
                        "imSHanguel imHanguel")
CORVELLA_NAMES(BorderStyle, "bsNone bsSingle")
CORVELLA_NAMES(FontStyles, "fsBold fsItalic fsUnderline fsStrikeOut")
CORVELLA_NAMES(FontPitch, "fpDefault fpVariable fpFixed")
#undef CORVELLA_NAMES
} // namespace PropNames

// ---------------------------------------------------------------- class tables

const TPropInfo *TClassInfo::Find(const QString &name) const
{
    for (const TPropInfo &p : Properties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

QList<const TPropInfo *> TClassInfo::InOrder() const
{
    QList<const TPropInfo *> list;
    for (const TPropInfo &p : Properties)
        list << &p;
    return list;
}

QList<const TPropInfo *> TClassInfo::Alphabetical() const
{
    QList<const TPropInfo *> list = InOrder();
    std::stable_sort(list.begin(), list.end(), [](const TPropInfo *a, const TPropInfo *b) {
        return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0;
    });
    return list;
}

const TClassInfo *FontClassInfo()
{
    static const TClassInfo info = [] {
        TClassInfo c;
        c.ClassName = QStringLiteral("TFont");
        using F = TFont;
        c.Properties
            << IdentIntProp<F>(
                   QStringLiteral("Charset"), QStringLiteral("TFontCharset"), &CharsetIdents(),
                   [](const F &f) { return f.Charset(); }, [](F &f, int v) { f.SetCharset(v); })
            << ColorProp<F>(
                   QStringLiteral("Color"), [](const F &f) { return f.Color(); }, [](F &f, TColor v) { f.SetColor(v); })
            << IntegerProp<F>(
                   QStringLiteral("Height"), [](const F &f) { return f.Height(); }, [](F &f, int v) { f.SetHeight(v); })
            << StringProp<F>(
                   QStringLiteral("Name"), QStringLiteral("TFontName"), [](const F &f) { return f.Name(); },
                   [](F &f, const QString &v) { f.SetName(v); })
            << EnumProp<F, TFontPitch>(
                   QStringLiteral("Pitch"), QStringLiteral("TFontPitch"), PropNames::FontPitch(),
                   [](const F &f) { return f.Pitch(); }, [](F &f, TFontPitch v) { f.SetPitch(v); })
                   .Def(fpDefault)
            << IntegerProp<F>(
                   QStringLiteral("Size"), [](const F &f) { return f.Size(); }, [](F &f, int v) { f.SetSize(v); })
                   .StoredIf([](const void *) { return false; })
            << SetProp<F>(
                   QStringLiteral("Style"), QStringLiteral("TFontStyles"), PropNames::FontStyles(),
                   [](const F &f) { return f.Style(); }, [](F &f, int v) { f.SetStyle(v); });
        return c;
    }();
    return &info;
}

const TClassInfo *StringsClassInfo()
{
    static const TClassInfo info = [] {
        TClassInfo c;
        c.ClassName = QStringLiteral("TStrings");
        TPropInfo p;
        p.Name = QStringLiteral("Strings");
        p.Kind = TPropKind::StringList;
        p.TypeName = QStringLiteral("TStrings");
        p.GetList = [](const void *self) { return SelfOf<TStrings>(self).Lines(); };
        p.SetList = [](void *self, const QStringList &lines) {
            TStrings &list = SelfOf<TStrings>(self);
            list.BeginUpdate();
            list.Clear();
            for (const QString &line : lines)
                list.Add(line);
            list.EndUpdate();
        };
        c.Properties << p;
        return c;
    }();
    return &info;
}

const TClassInfo *SizeConstraintsClassInfo()
{
    static const TClassInfo info = [] {
        TClassInfo c;
        c.ClassName = QStringLiteral("TSizeConstraints");
        using S = TSizeConstraints;
        const auto type = QStringLiteral("TConstraintSize");
        c.Properties << IntegerProp<S>(
                            QStringLiteral("MaxHeight"), [](const S &s) { return s.MaxHeight(); },
                            [](S &s, int v) { s.SetMaxHeight(v); }, type)
                            .Def(0)
                     << IntegerProp<S>(
                            QStringLiteral("MaxWidth"), [](const S &s) { return s.MaxWidth(); },
                            [](S &s, int v) { s.SetMaxWidth(v); }, type)
                            .Def(0)
                     << IntegerProp<S>(
                            QStringLiteral("MinHeight"), [](const S &s) { return s.MinHeight(); },
                            [](S &s, int v) { s.SetMinHeight(v); }, type)
                            .Def(0)
                     << IntegerProp<S>(
                            QStringLiteral("MinWidth"), [](const S &s) { return s.MinWidth(); },
                            [](S &s, int v) { s.SetMinWidth(v); }, type)
                            .Def(0);
        return c;
    }();
    return &info;
}

const TClassInfo *MonthCalColorsClassInfo()
{
    static const TClassInfo info = [] {
        TClassInfo c;
        c.ClassName = QStringLiteral("TMonthCalColors");
        using M = TMonthCalColors;
        c.Properties << ColorProp<M>(
                            QStringLiteral("BackColor"), [](const M &m) { return m.BackColor; },
                            [](M &m, TColor v) { m.BackColor = v; })
                            .Def(clWindow)
                     << ColorProp<M>(
                            QStringLiteral("TextColor"), [](const M &m) { return m.TextColor; },
                            [](M &m, TColor v) { m.TextColor = v; })
                            .Def(clWindowText)
                     << ColorProp<M>(
                            QStringLiteral("TitleBackColor"), [](const M &m) { return m.TitleBackColor; },
                            [](M &m, TColor v) { m.TitleBackColor = v; })
                            .Def(clActiveCaption)
                     << ColorProp<M>(
                            QStringLiteral("TitleTextColor"), [](const M &m) { return m.TitleTextColor; },
                            [](M &m, TColor v) { m.TitleTextColor = v; })
                            .Def(clWhite)
                     << ColorProp<M>(
                            QStringLiteral("MonthBackColor"), [](const M &m) { return m.MonthBackColor; },
                            [](M &m, TColor v) { m.MonthBackColor = v; })
                            .Def(clWhite)
                     << ColorProp<M>(
                            QStringLiteral("TrailingTextColor"), [](const M &m) { return m.TrailingTextColor; },
                            [](M &m, TColor v) { m.TrailingTextColor = v; })
                            .Def(clInactiveCaptionText);
        return c;
    }();
    return &info;
}

void AddClassInfo(const TClassInfo *info)
{
    if (info)
        KnownClasses().insert(info->ClassName, info);
}

const TClassInfo *FindClassInfo(const QString &className)
{
    return KnownClasses().value(className);
}

TPropObject PropObjectOf(QObject *object)
{
    if (!object)
        return {};
    for (const QMetaObject *meta = object->metaObject(); meta; meta = meta->superClass()) {
        if (const TClassInfo *info = KnownClasses().value(QString::fromLatin1(meta->className()))) {
            void *self = info->Instance ? info->Instance(object) : nullptr;
            if (self)
                return {info, self};
        }
    }
    return {};
}

QStringList PublishedPropertyNames(const QString &className, bool alphabetical)
{
    QStringList names;
    if (const TClassInfo *info = FindClassInfo(className))
        for (const TPropInfo *p : alphabetical ? info->Alphabetical() : info->InOrder())
            names << p->Name;
    return names;
}

void RegisterClass(const TClassInfo *info)
{
    if (!info || Registry().contains(info))
        return;
    AddClassInfo(info);
    Registry().append(info);
}

const TClassInfo *GetClass(const QString &className)
{
    for (const TClassInfo *info : Registry())
        if (info->ClassName.compare(className, Qt::CaseInsensitive) == 0)
            return info;
    return nullptr;
}

QList<const TClassInfo *> RegisteredClasses()
{
    return Registry();
}

QWidget *CreateComponent(const QString &className, QObject *owner, QWidget *parent)
{
    const TClassInfo *info = GetClass(className);
    if (!info || !info->Create)
        throw Exception(QStringLiteral("Class %1 not found").arg(className));
    return info->Create(owner, parent);
}

// ---------------------------------------------------------------- access by name

namespace {

TPropObject Target(QObject *object)
{
    TPropObject target = PropObjectOf(object);
    if (!target.IsValid())
        throw Exception(NoProperty);
    return target;
}

const TPropInfo &Prop(const TPropObject &target, const QString &name)
{
    const TPropInfo *p = target.Class->Find(name);
    if (!p)
        throw Exception(NoProperty);
    return *p;
}

} // namespace

const TPropInfo *FindProperty(QObject *object, const QString &name)
{
    const TPropObject target = PropObjectOf(object);
    return target.IsValid() ? target.Class->Find(name) : nullptr;
}

qint64 GetOrdProp(QObject *object, const QString &name)
{
    const TPropObject t = Target(object);
    const TPropInfo &p = Prop(t, name);
    if (!p.IsOrdinal())
        Invalid();
    return p.GetOrd(t.Self);
}

void SetOrdProp(QObject *object, const QString &name, qint64 value)
{
    const TPropObject t = Target(object);
    const TPropInfo &p = Prop(t, name);
    if (!p.IsOrdinal())
        Invalid();
    p.SetOrd(t.Self, value);
}

double GetFloatProp(QObject *object, const QString &name)
{
    const TPropObject t = Target(object);
    const TPropInfo &p = Prop(t, name);
    if (p.Kind != TPropKind::Float)
        Invalid();
    return p.GetFloat(t.Self);
}

void SetFloatProp(QObject *object, const QString &name, double value)
{
    const TPropObject t = Target(object);
    const TPropInfo &p = Prop(t, name);
    if (p.Kind != TPropKind::Float)
        Invalid();
    p.SetFloat(t.Self, value);
}

QString GetStrProp(QObject *object, const QString &name)
{
    const TPropObject t = Target(object);
    const TPropInfo &p = Prop(t, name);
    if (p.Kind != TPropKind::String)
        Invalid();
    return p.GetStr(t.Self);
}

void SetStrProp(QObject *object, const QString &name, const QString &value)
{
    const TPropObject t = Target(object);
    const TPropInfo &p = Prop(t, name);
    if (p.Kind != TPropKind::String)
        Invalid();
    p.SetStr(t.Self, value);
}

TPropObject GetObjectProp(QObject *object, const QString &name)
{
    const TPropObject t = Target(object);
    const TPropInfo &p = Prop(t, name);
    if (p.Kind != TPropKind::Object)
        Invalid();
    return {p.ObjectClass, p.GetObj(t.Self)};
}

bool ResolvePropPath(const TPropObject &root, const QString &path, TPropObject *target, const TPropInfo **property)
{
    TPropObject current = root;
    const QStringList names = path.split(QLatin1Char('.'));
    for (int i = 0; i < names.size(); ++i) {
        if (!current.IsValid())
            return false;
        const TPropInfo *p = current.Class->Find(names.at(i));
        if (!p)
            return false;
        if (i == names.size() - 1) {
            *target = current;
            *property = p;
            return true;
        }
        if (p->Kind != TPropKind::Object || !p->ObjectClass)
            return false;
        current = {p->ObjectClass, p->GetObj(current.Self)};
    }
    return false;
}

// ---------------------------------------------------------------- values as text

QString GetPropText(const TPropObject &object, const TPropInfo &p)
{
    const void *self = object.Self;
    switch (p.Kind) {
    case TPropKind::Integer: {
        const qint64 value = p.GetOrd(self);
        if (IsColorProperty(p))
            return ColorToString(static_cast<TColor>(value));
        return QString::number(value);
    }
    case TPropKind::Char: {
        const qint64 code = p.GetOrd(self);
        return code == 0 ? QString() : QString(QChar(static_cast<char16_t>(code)));
    }
    case TPropKind::Enumeration:
        return p.Names.value(static_cast<int>(p.GetOrd(self)));
    case TPropKind::Set:
        return QLatin1Char('[') + SetElements(p, p.GetOrd(self)).join(QLatin1Char(',')) + QLatin1Char(']');
    case TPropKind::Float:
        return FloatToText(p.GetFloat(self));
    case TPropKind::String:
        return p.GetStr(self);
    case TPropKind::StringList:
        return p.GetList(self).join(QLatin1String("\r\n"));
    case TPropKind::Object:
        return QLatin1Char('(') + p.TypeName + QLatin1Char(')');
    case TPropKind::Event:
        return QString();
    }
    return QString();
}

void SetPropText(const TPropObject &object, const TPropInfo &p, const QString &text)
{
    void *self = object.Self;
    switch (p.Kind) {
    case TPropKind::Integer:
    case TPropKind::Char:
    case TPropKind::Enumeration:
    case TPropKind::Set: {
        qint64 value = 0;
        if (!TextToOrdinal(p, text, &value))
            Invalid();
        p.SetOrd(self, value);
        return;
    }
    case TPropKind::Float: {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            Invalid();
        p.SetFloat(self, value);
        return;
    }
    case TPropKind::String:
        p.SetStr(self, text);
        return;
    case TPropKind::StringList:
        p.SetList(self, SplitLines(text));
        return;
    case TPropKind::Object:
    case TPropKind::Event:
        Invalid();
    }
}

QString GetPropValue(QObject *object, const QString &path)
{
    TPropObject target;
    const TPropInfo *p = nullptr;
    if (!ResolvePropPath(PropObjectOf(object), path, &target, &p))
        throw Exception(NoProperty);
    return GetPropText(target, *p);
}

void SetPropValue(QObject *object, const QString &path, const QString &text)
{
    TPropObject target;
    const TPropInfo *p = nullptr;
    if (!ResolvePropPath(PropObjectOf(object), path, &target, &p))
        throw Exception(NoProperty);
    SetPropText(target, *p, text);
}

QString PropertyTypeText(const TPropInfo &p)
{
    switch (p.Kind) {
    case TPropKind::String:
    case TPropKind::Char:
        return QStringLiteral("String");
    case TPropKind::Float:
        return QStringLiteral("Float");
    case TPropKind::Enumeration:
        return p.TypeName;
    case TPropKind::Integer:
        if (p.Name.contains(QLatin1String("Color")))
            return QStringLiteral("TColor");
        if (p.Name == QLatin1String("Cursor") || p.Name == QLatin1String("DragCursor"))
            return QString();
        return QStringLiteral("Integer");
    case TPropKind::Object:
        if (p.TypeName == QLatin1String("TFont") || p.TypeName == QLatin1String("TStrings"))
            return p.TypeName;
        return QString();
    default:
        return QString();
    }
}

// ---------------------------------------------------------------- object text

void WriteProperties(const TPropObject &object, QList<TTextProperty> &out, const QString &prefix)
{
    if (!object.IsValid())
        return;
    for (const TPropInfo &p : object.Class->Properties) {
        if (p.Kind == TPropKind::Event || !p.IsStored(object.Self))
            continue;
        switch (p.Kind) {
        case TPropKind::Integer:
        case TPropKind::Char:
        case TPropKind::Enumeration:
        case TPropKind::Set:
            if (p.HasDefault && p.GetOrd(object.Self) == p.Default)
                continue;
            break;
        case TPropKind::Float:
            if (p.GetFloat(object.Self) == 0.0)
                continue;
            break;
        case TPropKind::String:
            if (p.GetStr(object.Self).isEmpty())
                continue;
            break;
        case TPropKind::StringList:
            if (p.GetList(object.Self).isEmpty())
                continue;
            break;
        case TPropKind::Object:
            if (p.ObjectClass && p.GetObj)
                WriteProperties({p.ObjectClass, p.GetObj(object.Self)}, out, prefix + p.Name + QLatin1Char('.'));
            continue;
        case TPropKind::Event:
            continue;
        }
        TTextProperty property;
        property.Path = prefix + p.Name;
        property.Value = TextValueOf(p, object.Self);
        out.append(property);
    }
}

void ReadProperty(const TPropObject &object, const TTextProperty &property)
{
    TPropObject target;
    const TPropInfo *p = nullptr;
    if (!ResolvePropPath(object, property.Path, &target, &p) || !target.Self)
        throw Exception(NoProperty);
    ApplyTextValue(*p, target.Self, property.Value);
}
