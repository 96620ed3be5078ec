#pragma once

// Building blocks of the property tables: typed accessors over the untyped "self".

#include "question/PropertyModel.h"
#include "toolkit/StdCtrls.h"

template <class T> const T &SelfOf(const void *self)
{
    return *static_cast<const T *>(self);
}

template <class T> T &SelfOf(void *self)
{
    return *static_cast<T *>(self);
}

template <class T, class G, class S>
TPropInfo OrdinalProp(const QString &name, TPropKind kind, const QString &type, G get, S set)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.TypeName = type;
    p.GetOrd = [get](const void *self) -> qint64 { return static_cast<qint64>(get(SelfOf<T>(self))); };
    p.SetOrd = [set](void *self, qint64 value) { set(SelfOf<T>(self), value); };
    return p;
}

template <class T, class G, class S>
TPropInfo IntegerProp(const QString &name, G get, S set, const QString &type = QStringLiteral("Integer"))
{
    return OrdinalProp<T>(name, TPropKind::Integer, type, get,
                          [set](T &self, qint64 v) { set(self, static_cast<int>(v)); });
}

template <class T, class G, class S> TPropInfo ColorProp(const QString &name, G get, S set)
{
    TPropInfo p = OrdinalProp<T>(name, TPropKind::Integer, QStringLiteral("TColor"), get,
                                 [set](T &self, qint64 v) { set(self, static_cast<TColor>(v)); });
    p.Idents = &ColorIdents();
    return p;
}

template <class T, class G, class S>
TPropInfo IdentIntProp(const QString &name, const QString &type, const TIdentMap *idents, G get, S set)
{
    TPropInfo p = IntegerProp<T>(name, get, set, type);
    p.Idents = idents;
    return p;
}

template <class T, class G, class S> TPropInfo BoolProp(const QString &name, G get, S set)
{
    TPropInfo p = OrdinalProp<T>(name, TPropKind::Enumeration, QStringLiteral("Boolean"), get,
                                 [set](T &self, qint64 v) { set(self, v != 0); });
    p.Names = QStringList{QStringLiteral("False"), QStringLiteral("True")};
    return p;
}

template <class T, class E, class G, class S>
TPropInfo EnumProp(const QString &name, const QString &type, const QStringList &names, G get, S set)
{
    TPropInfo p = OrdinalProp<T>(name, TPropKind::Enumeration, type, get,
                                 [set](T &self, qint64 v) { set(self, static_cast<E>(v)); });
    p.Names = names;
    return p;
}

template <class T, class G, class S>
TPropInfo SetProp(const QString &name, const QString &type, const QStringList &names, G get, S set)
{
    TPropInfo p =
        OrdinalProp<T>(name, TPropKind::Set, type, get, [set](T &self, qint64 v) { set(self, static_cast<int>(v)); });
    p.Names = names;
    return p;
}

template <class T, class G, class S> TPropInfo CharProp(const QString &name, G get, S set)
{
    return OrdinalProp<T>(name, TPropKind::Char, QStringLiteral("Char"), get,
                          [set](T &self, qint64 v) { set(self, QChar(static_cast<char16_t>(v))); });
}

template <class T, class G, class S> TPropInfo FloatProp(const QString &name, const QString &type, G get, S set)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Float;
    p.TypeName = type;
    p.GetFloat = [get](const void *self) -> double { return get(SelfOf<T>(self)); };
    p.SetFloat = [set](void *self, double v) { set(SelfOf<T>(self), v); };
    return p;
}

template <class T, class G, class S> TPropInfo StringProp(const QString &name, const QString &type, G get, S set)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::String;
    p.TypeName = type;
    p.GetStr = [get](const void *self) -> QString { return get(SelfOf<T>(self)); };
    p.SetStr = [set](void *self, const QString &v) { set(SelfOf<T>(self), v); };
    return p;
}

// An object-valued property; set assigns (copies) an object of the sub-class.
template <class T, class Sub, class G, class S>
TPropInfo ObjectProp(const QString &name, const QString &type, const TClassInfo *cls, G get, S set)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Object;
    p.TypeName = type;
    p.ObjectClass = cls;
    p.GetObj = [get](void *self) -> void * { return get(SelfOf<T>(self)); };
    p.SetObj = [set](void *self, const void *value) { set(SelfOf<T>(self), *static_cast<const Sub *>(value)); };
    return p;
}

// A string list property (Items, Lines, Answers): assigning copies the lines.
template <class T, class G> TPropInfo StringsProp(const QString &name, G get)
{
    return ObjectProp<T, TStrings>(name, QStringLiteral("TStrings"), StringsClassInfo(), get,
                                   [get](T &self, const TStrings &value) { get(self)->Assign(value); });
}

inline TPropInfo EventProp(const QString &name, const QString &type = QStringLiteral("TNotifyEvent"))
{
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Event;
    p.TypeName = type;
    return p;
}

QString EventTypeName(const QString &eventName);

// Enumeration and set names shared by the tables.
namespace PropNames {
const QStringList &Align();
const QStringList &Anchors();
const QStringList &BiDiMode();
const QStringList &DragKind();
const QStringList &DragMode();
const QStringList &ImeMode();
const QStringList &BorderStyle();
const QStringList &FontStyles();
const QStringList &FontPitch();
} // namespace PropNames

// A property every control has (TControl), for the table of control class T.
template <class T> TPropInfo ControlProp(const QString &name)
{
    using C = TControl;
    if (name == QLatin1String("Tag"))
        return IntegerProp<T>(
                   name, [](const C &c) { return c.Tag; }, [](C &c, int v) { c.Tag = v; })
            .Def(0);
    if (name == QLatin1String("Left"))
        return IntegerProp<T>(
            name, [](const C &c) { return c.Left(); }, [](C &c, int v) { c.SetLeft(v); });
    if (name == QLatin1String("Top"))
        return IntegerProp<T>(
            name, [](const C &c) { return c.Top(); }, [](C &c, int v) { c.SetTop(v); });
    if (name == QLatin1String("Width"))
        return IntegerProp<T>(
            name, [](const C &c) { return c.Width(); }, [](C &c, int v) { c.SetWidth(v); });
    if (name == QLatin1String("Height"))
        return IntegerProp<T>(
            name, [](const C &c) { return c.Height(); }, [](C &c, int v) { c.SetHeight(v); });
    if (name == QLatin1String("Cursor"))
        return IdentIntProp<T>(
                   name, QStringLiteral("TCursor"), &CursorIdents(), [](const C &c) { return c.Cursor; },
                   [](C &c, int v) { c.Cursor = v; })
            .Def(crDefault);
    if (name == QLatin1String("DragCursor"))
        return IdentIntProp<T>(
                   name, QStringLiteral("TCursor"), &CursorIdents(), [](const C &c) { return c.DragCursor; },
                   [](C &c, int v) { c.DragCursor = v; })
            .Def(crDrag);
    if (name == QLatin1String("Hint"))
        return StringProp<T>(
            name, QStringLiteral("String"), [](const C &c) { return c.Hint(); },
            [](C &c, const QString &v) { c.SetHint(v); });
    if (name == QLatin1String("HelpContext"))
        return IntegerProp<T>(
                   name, [](const C &c) { return c.HelpContext; }, [](C &c, int v) { c.HelpContext = v; },
                   QStringLiteral("THelpContext"))
            .Def(0);
    if (name == QLatin1String("TabStop"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.TabStop(); }, [](C &c, bool v) { c.SetTabStop(v); })
            .Def(1);
    if (name == QLatin1String("Anchors"))
        return SetProp<T>(
                   name, QStringLiteral("TAnchors"), PropNames::Anchors(), [](const C &c) { return c.Anchors; },
                   [](C &c, int v) { c.Anchors = v; })
            .Def(DefaultAnchors);
    if (name == QLatin1String("BiDiMode"))
        return EnumProp<T, TBiDiMode>(
                   name, QStringLiteral("TBiDiMode"), PropNames::BiDiMode(), [](const C &c) { return c.BiDiMode; },
                   [](C &c, TBiDiMode v) {
                       c.BiDiMode = v;
                       c.ParentBiDiMode = false;
                   })
            .Def(bdLeftToRight)
            .StoredIf([](const void *self) { return !SelfOf<T>(self).ParentBiDiMode; });
    if (name == QLatin1String("ParentBiDiMode"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.ParentBiDiMode; }, [](C &c, bool v) { c.ParentBiDiMode = v; })
            .Def(1);
    if (name == QLatin1String("Color"))
        return ColorProp<T>(
                   name, [](const C &c) { return c.Color(); }, [](C &c, TColor v) { c.SetColor(v); })
            .Def(clWindow)
            .StoredIf([](const void *self) { return !SelfOf<T>(self).ParentColor(); });
    if (name == QLatin1String("Constraints"))
        return ObjectProp<T, TSizeConstraints>(
            name, QStringLiteral("TSizeConstraints"), SizeConstraintsClassInfo(), [](C &c) { return c.Constraints(); },
            [](C &c, const TSizeConstraints &v) {
                c.Constraints()->SetMaxHeight(v.MaxHeight());
                c.Constraints()->SetMaxWidth(v.MaxWidth());
                c.Constraints()->SetMinHeight(v.MinHeight());
                c.Constraints()->SetMinWidth(v.MinWidth());
            });
    if (name == QLatin1String("Ctl3D"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.Ctl3D; },
                   [](C &c, bool v) {
                       c.Ctl3D = v;
                       c.ParentCtl3D = false;
                   })
            .Def(1)
            .StoredIf([](const void *self) { return !SelfOf<T>(self).ParentCtl3D; });
    if (name == QLatin1String("ParentCtl3D"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.ParentCtl3D; }, [](C &c, bool v) { c.ParentCtl3D = v; })
            .Def(1);
    if (name == QLatin1String("DragKind"))
        return EnumProp<T, TDragKind>(
                   name, QStringLiteral("TDragKind"), PropNames::DragKind(), [](const C &c) { return c.DragKind; },
                   [](C &c, TDragKind v) { c.DragKind = v; })
            .Def(dkDrag);
    if (name == QLatin1String("DragMode"))
        return EnumProp<T, TDragMode>(
                   name, QStringLiteral("TDragMode"), PropNames::DragMode(), [](const C &c) { return c.DragMode; },
                   [](C &c, TDragMode v) { c.DragMode = v; })
            .Def(dmManual);
    if (name == QLatin1String("Enabled"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.Enabled(); }, [](C &c, bool v) { c.SetEnabled(v); })
            .Def(1);
    if (name == QLatin1String("Font"))
        return ObjectProp<T, TFont>(
                   name, QStringLiteral("TFont"), FontClassInfo(), [](C &c) { return c.Font(); },
                   [](C &c, const TFont &v) { c.Font()->Assign(v); })
            .StoredIf([](const void *self) { return !SelfOf<T>(self).ParentFont(); });
    if (name == QLatin1String("ParentFont"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.ParentFont(); }, [](C &c, bool v) { c.SetParentFont(v); })
            .Def(1);
    if (name == QLatin1String("ImeMode"))
        return EnumProp<T, TImeMode>(
                   name, QStringLiteral("TImeMode"), PropNames::ImeMode(), [](const C &c) { return c.ImeMode; },
                   [](C &c, TImeMode v) { c.ImeMode = v; })
            .Def(imDontCare);
    if (name == QLatin1String("ImeName"))
        return StringProp<T>(
            name, QStringLiteral("TImeName"), [](const C &c) { return c.ImeName; },
            [](C &c, const QString &v) { c.ImeName = v; });
    if (name == QLatin1String("ParentColor"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.ParentColor(); }, [](C &c, bool v) { c.SetParentColor(v); })
            .Def(0);
    if (name == QLatin1String("ParentShowHint"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.ParentShowHint; }, [](C &c, bool v) { c.ParentShowHint = v; })
            .Def(1);
    if (name == QLatin1String("ShowHint"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.ShowHint(); }, [](C &c, bool v) { c.SetShowHint(v); })
            .StoredIf([](const void *self) { return !SelfOf<T>(self).ParentShowHint; });
    if (name == QLatin1String("PopupMenu")) {
        // A reference to a popup menu component; question controls never have one.
        TPropInfo p;
        p.Name = name;
        p.Kind = TPropKind::Object;
        p.TypeName = QStringLiteral("TPopupMenu");
        p.GetObj = [](void *) -> void * { return nullptr; };
        return p;
    }
    if (name == QLatin1String("TabOrder"))
        return IntegerProp<T>(
                   name, [](const C &c) { return c.TabOrder(); }, [](C &c, int v) { c.SetTabOrder(v); },
                   QStringLiteral("TTabOrder"))
            .Def(-1);
    if (name == QLatin1String("Visible"))
        return BoolProp<T>(
                   name, [](const C &c) { return c.Visible(); }, [](C &c, bool v) { c.SetVisible(v); })
            .Def(1);
    if (name == QLatin1String("Align"))
        return EnumProp<T, TAlign>(
                   name, QStringLiteral("TAlign"), PropNames::Align(), [](const C &c) { return c.Align; },
                   [](C &c, TAlign v) { c.Align = v; })
            .Def(alNone);
    qFatal("No control property %s", qPrintable(name));
    return {};
}

// Builds a class table: the names in order, each taken from the class's own
// properties or else from the ones every control has; then the events.
template <class T>
void BuildControlTable(TClassInfo &info, const char *order, const QList<TPropInfo> &own, const char *events)
{
    const QStringList names = QString::fromLatin1(order).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &name : names) {
        const TPropInfo *found = nullptr;
        for (const TPropInfo &p : own)
            if (p.Name == name)
                found = &p;
        info.Properties.append(found ? *found : ControlProp<T>(name));
    }
    for (const QString &name : QString::fromLatin1(events).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        info.Properties.append(EventProp(name, EventTypeName(name)));
}
