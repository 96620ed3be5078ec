#include "designer/PropertyList.h"

#include "question/PropertyModel.h"
#include "toolkit/Graphics.h"
#include "toolkit/StdCtrls.h"

#include <QLocale>
#include <QWidget>

#include <cmath>

namespace {

bool ContainsName(const QStringList &list, const QString &name)
{
    return list.contains(name, Qt::CaseInsensitive);
}

// The Tag bit that locks a property on one control, 0 when none does.
int LockBit(const QString &name, const QStringList &bitMaskProps)
{
    static const QList<QPair<QString, int>> fixed{
        {QStringLiteral("Visible"), 1},  {QStringLiteral("Enabled"), 2},  {QStringLiteral("ReadOnly"), 4},
        {QStringLiteral("Required"), 8}, {QStringLiteral("Caption"), 16}, {QStringLiteral("Cut"), 64},
    };
    for (const auto &entry : fixed)
        if (entry.first == name)
            return entry.second;
    for (qsizetype k = 0; k < bitMaskProps.size() && k < 22; ++k)
        if (bitMaskProps.at(k).compare(name, Qt::CaseInsensitive) == 0)
            return 512 << k;
    return 0;
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

void TPropertyList::SetRow(int index, const QString &name, TPropEditMode mode, const QString &type,
                           const QString &value)
{
    if (index < 0 || index > Count())
        return;
    if (index == Count())
        FRows.append(TPropertyRow());
    TPropertyRow &row = FRows[index];
    row.Name = name;
    row.EditMode = mode;
    row.Type = type;
    row.Value = value;
}

QString TPropertyList::ColorToIdentifier(TColor value)
{
    return ColorToString(value);
}

TColor TPropertyList::IdentifierToColor(const QString &text)
{
    int value = 0;
    return ColorIdents().FromIdent(text, &value) ? static_cast<TColor>(value) : clWindow;
}

bool TryTextToFloat(const QString &text, double *value)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double number = QLocale::system().toDouble(trimmed, &ok);
    if (!ok)
        number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

namespace {

// The property of a row on one target, or nullptr when the target lacks it.
const TPropInfo *TargetProperty(QObject *target, const QString &name, TPropObject *object)
{
    *object = PropObjectOf(target);
    return object->IsValid() ? object->Class->Find(name) : nullptr;
}

// The ordinal a row's text stands for; false when it stands for none.
bool RowOrdinal(const TPropertyRow &row, const TPropInfo &p, qint64 *value)
{
    const QString &text = row.Value;
    if (row.Type == QLatin1String("Boolean")) {
        *value = text == QLatin1String("True") ? 1 : 0;
        return true;
    }
    if (row.Type == QLatin1String("TColor")) {
        // A colour outside the table shows as its number and must come back as it.
        TColor color = 0;
        *value = StringToColor(text, &color) ? color : TPropertyList::IdentifierToColor(text);
        return true;
    }
    if (p.Kind == TPropKind::Enumeration) {
        const qsizetype at = p.Names.indexOf(text);
        if (at < 0)
            return false;
        *value = at;
        return true;
    }
    if (p.Kind == TPropKind::Char) {
        if (text.size() != 1)
            return false;
        *value = text.at(0).unicode();
        return true;
    }
    if (p.Kind != TPropKind::Integer)
        return false;
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    *value = number;
    return ok;
}

} // namespace

bool TPropertyList::ApplyOrdinal(int index, const QList<QObject *> &targets) const
{
    if (index < 0 || index >= Count() || FRows.at(index).Value.isEmpty())
        return false;
    const TPropertyRow &row = FRows.at(index);
    bool all = !targets.isEmpty();
    for (QObject *target : targets) {
        TPropObject object;
        const TPropInfo *p = TargetProperty(target, row.Name, &object);
        qint64 value = 0;
        if (!p || !p->IsOrdinal() || !p->GetOrd || !p->SetOrd || !RowOrdinal(row, *p, &value)) {
            all = false;
            continue;
        }
        try {
            if (p->GetOrd(object.Self) == value) {
                all = false;
                continue;
            }
            p->SetOrd(object.Self, value);
            if (row.Type == QLatin1String("TColor"))
                if (auto *widget = qobject_cast<QWidget *>(target); widget && widget->isWindow())
                    widget->update();
        } catch (const Exception &) {
            all = false;
        }
    }
    return all;
}

bool TPropertyList::ApplyFloat(int index, const QList<QObject *> &targets) const
{
    double value = 0;
    if (index < 0 || index >= Count() || !TryTextToFloat(FRows.at(index).Value, &value))
        return false;
    bool all = !targets.isEmpty();
    for (QObject *target : targets) {
        TPropObject object;
        const TPropInfo *p = TargetProperty(target, FRows.at(index).Name, &object);
        if (!p || p->Kind != TPropKind::Float || !p->GetFloat || !p->SetFloat) {
            all = false;
            continue;
        }
        try {
            if (p->GetFloat(object.Self) == value) {
                all = false;
                continue;
            }
            p->SetFloat(object.Self, value);
        } catch (const Exception &) {
            all = false;
        }
    }
    return all;
}

bool TPropertyList::ApplyString(int index, const QList<QObject *> &targets) const
{
    if (index < 0 || index >= Count())
        return false;
    const TPropertyRow &row = FRows.at(index);
    bool all = !targets.isEmpty();
    for (QObject *target : targets) {
        TPropObject object;
        const TPropInfo *p = TargetProperty(target, row.Name, &object);
        if (!p || (p->Kind != TPropKind::String && p->Kind != TPropKind::Char)) {
            all = false;
            continue;
        }
        try {
            if (GetPropText(object, *p) == row.Value) {
                all = false;
                continue;
            }
            SetPropText(object, *p, row.Value);
        } catch (const Exception &) {
            all = false;
        }
    }
    return all;
}
