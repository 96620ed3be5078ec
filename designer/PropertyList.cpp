#include "designer/PropertyList.h"

#include "question/PropertyModel.h"
#include "toolkit/Graphics.h"
#include "toolkit/StdCtrls.h"

#include <QWidget>

namespace {

bool ContainsName(const QStringList &list, const QString &name)
{
    return list.contains(name, Qt::CaseInsensitive);
}

// The Tag bit that locks a property on one control, 0 when none does.
int LockBit(const QString &name, const QStringList &bitMaskProps)
{
    static const QList<QPair<QString, int>> fixed{
        {QStringLiteral("Visible"), 1},  {QStringLiteral("Enabled"), 2}, {QStringLiteral("ReadOnly"), 4},
        {QStringLiteral("Required"), 8}, {QStringLiteral("Caption"), 16}, {QStringLiteral("Cut"), 64},
    };
    for (const auto &entry : fixed)
        if (entry.first == name)
            return entry.second;
    const qsizetype k = bitMaskProps.indexOf(name);
    return k >= 0 && k < 22 ? 512 << k : 0;
}

int TagOf(const QWidget *widget)
{
    const auto *control = dynamic_cast<const TControl *>(widget);
    return control ? control->Tag : 0;
}

bool HasTrueProperty(QWidget *widget, const QString &name)
{
    const TPropObject object = PropObjectOf(widget);
    const TPropInfo *p = object.IsValid() ? object.Class->Find(name) : nullptr;
    return p && p->IsOrdinal() && p->GetOrd && p->GetOrd(object.Self) != 0;
}

bool HasProperty(QWidget *widget, const QString &name)
{
    const TPropObject object = PropObjectOf(widget);
    return object.IsValid() && object.Class->Find(name);
}

} // namespace

QList<QObject *> PropertyTargets(const QList<QWidget *> &selection, QObject *surface)
{
    QList<QObject *> targets;
    for (QWidget *control : selection)
        targets << control;
    if (targets.isEmpty() && surface)
        targets << surface;
    return targets;
}

bool TPropertyList::IsSupported(const QString &name) const
{
    if (ContainsName(UnSupportedProps, name) || name == QLatin1String("KeyPreview"))
        return false;
    return SupportedProps.isEmpty() || ContainsName(SupportedProps, name);
}

bool TPropertyList::IsEditable(const QString &name, const QList<QWidget *> &selection) const
{
    if (ContainsName(UnEditableProps, name) || name == QLatin1String("Name"))
        return false;
    if (selection.isEmpty())
        return name != QLatin1String("Align") && name != QLatin1String("Enabled") && name != QLatin1String("Visible");
    if (!BitMaskTags)
        return true;
    const int bit = LockBit(name, BitMaskProps);
    const bool deep = name == QLatin1String("Visible") || name == QLatin1String("Enabled") ||
                      name == QLatin1String("ReadOnly");
    for (QWidget *control : selection) {
        if (bit && (TagOf(control) & bit))
            return false;
        if (deep) {
            for (const QWidget *inner : control->findChildren<QWidget *>())
                if (TagOf(inner) & bit)
                    return false;
            // A required question keeps its state.
            if (HasTrueProperty(control, QStringLiteral("Required")) && HasProperty(control, QStringLiteral("ID")))
                return false;
        }
        if (name == QLatin1String("Required")) {
            for (const QWidget *w = control; w && !w->isWindow(); w = w->parentWidget()) {
                const auto *c = dynamic_cast<const TControl *>(w);
                if (c && (!c->Visible() || !c->Enabled()))
                    return false;
            }
        }
    }
    return true;
}

QList<TPropertyList::TCollected> TPropertyList::Collect(QObject *object) const
{
    QList<TCollected> result;
    const TPropObject target = PropObjectOf(object);
    if (!target.IsValid())
        return result;
    for (const TPropInfo *p : target.Class->Alphabetical()) {
        const QString type = PropertyTypeText(*p);
        if (type.isEmpty() || !IsSupported(p->Name))
            continue;
        TCollected row;
        row.Name = p->Name;
        row.Type = type;
        try {
            row.Value = GetPropText(target, *p);
        } catch (const Exception &) {
            row.Value.clear();
        }
        if (p->Kind == TPropKind::Enumeration && type != QLatin1String("Boolean"))
            row.Idents = p->Names;
        result << row;
    }
    return result;
}

QList<TPropertyList::TCollected> TPropertyList::CollectAll(const QList<QWidget *> &selection, QObject *surface) const
{
    const QList<QObject *> targets = PropertyTargets(selection, surface);
    if (targets.isEmpty())
        return {};
    QList<TCollected> rows = Collect(targets.first());
    for (qsizetype i = 1; i < targets.size(); ++i) {
        const QList<TCollected> other = Collect(targets.at(i));
        QList<TCollected> kept;
        for (TCollected &row : rows) {
            for (const TCollected &o : other) {
                if (o.Name == row.Name && o.Type == row.Type) {
                    if (o.Value != row.Value)
                        row.Value.clear();
                    kept << row;
                    break;
                }
            }
        }
        rows = kept;
    }
    return rows;
}

void TPropertyList::Rebuild(const QList<QWidget *> &selection, QObject *surface)
{
    FRows.clear();
    for (const TCollected &c : CollectAll(selection, surface)) {
        TPropertyRow row;
        row.Name = c.Name;
        row.Value = c.Value;
        row.Type = c.Type;
        if (ContainsName(EditButtonProps, c.Name) || c.Value.startsWith(QLatin1Char('(')) ||
            c.Name == QLatin1String("EditMask") || c.Name == QLatin1String("Font"))
            row.EditMode = emEllipsis;
        else if (c.Type == QLatin1String("String") || c.Type == QLatin1String("Integer") ||
                 c.Type == QLatin1String("Int64") || c.Type == QLatin1String("Float"))
            row.EditMode = emSimple;
        else
            row.EditMode = emPickList;
        if (!IsEditable(c.Name, selection))
            row.EditMode = emNoEdit;
        if (c.Type == QLatin1String("Boolean"))
            row.PickList = QStringList{QStringLiteral("False"), QStringLiteral("True")};
        else if (c.Type == QLatin1String("TColor"))
            row.PickList = ColorIdentifiers();
        else if (row.EditMode == emPickList)
            row.PickList = c.Idents;
        FRows << row;
    }
}

void TPropertyList::RefreshValues(const QList<QWidget *> &selection, QObject *surface, int skipRow)
{
    const QList<TCollected> fresh = CollectAll(selection, surface);
    for (int i = 0; i < Count(); ++i) {
        if (i == skipRow)
            continue;
        for (const TCollected &c : fresh)
            if (c.Name == FRows.at(i).Name)
                FRows[i].Value = c.Value;
    }
}

int TPropertyList::FindRow(const QString &name) const
{
    for (int i = 0; i < Count(); ++i)
        if (FRows.at(i).Name == name)
            return i;
    return -1;
}

bool TPropertyList::ApplyText(int index, const QList<QObject *> &targets) const
{
    if (index < 0 || index >= Count())
        return false;
    const TPropertyRow &row = FRows.at(index);
    bool all = true;
    for (QObject *target : targets) {
        const TPropObject object = PropObjectOf(target);
        const TPropInfo *p = object.IsValid() ? object.Class->Find(row.Name) : nullptr;
        if (!p) {
            all = false;
            continue;
        }
        try {
            if (GetPropText(object, *p) != row.Value)
                SetPropText(object, *p, row.Value);
        } catch (const Exception &) {
            all = false;
        }
    }
    return all;
}
