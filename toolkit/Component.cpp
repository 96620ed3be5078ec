#include "toolkit/Component.h"

#include "toolkit/Exception.h"

#include <QHash>

namespace {

// component -> its owner's list. Never destroyed, so that components destroyed
// during program exit still find it.
QHash<const QObject *, TComponentList *> &Owners()
{
    static auto *owners = new QHash<const QObject *, TComponentList *>;
    return *owners;
}

// owner -> its list, so that finding the list does not walk the owner's children.
QHash<const QObject *, TComponentList *> &Lists()
{
    static auto *lists = new QHash<const QObject *, TComponentList *>;
    return *lists;
}

const char *const ListName = "_components";

} // namespace

TComponentList::TComponentList(QObject *owner) : QObject(owner), FOwner(owner)
{
    setObjectName(QLatin1String(ListName));
    Lists().insert(owner, this);
}

TComponentList::~TComponentList()
{
    // The owner destroys what it still owns, newest first.
    Lists().remove(FOwner);
    // Guarded: deleting one component may take others along as its Qt children.
    QList<QPointer<QObject>> items;
    for (QObject *component : FItems) {
        Owners().remove(component);
        items.append(component);
    }
    FItems.clear();
    for (qsizetype i = items.size() - 1; i >= 0; --i)
        delete items.at(i).data();
}

TComponentList *TComponentList::Of(const QObject *owner, bool create)
{
    if (!owner)
        return nullptr;
    if (TComponentList *list = Lists().value(owner))
        return list;
    return create ? new TComponentList(const_cast<QObject *>(owner)) : nullptr;
}

QList<QObject *> TComponentList::Components() const
{
    return FItems;
}

QObject *TComponentList::Find(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    for (QObject *component : FItems)
        if (component->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return component;
    return nullptr;
}

void TComponentList::Remove(QObject *component)
{
    FItems.removeOne(component);
}

void InsertComponent(QObject *owner, QObject *component)
{
    if (!component)
        return;
    RemoveComponent(component);
    if (!owner)
        return;
    TComponentList *list = TComponentList::Of(owner);
    list->FItems.append(component);
    Owners().insert(component, list);
    // A component destroyed by its display parent leaves its owner's list.
    QObject::connect(component, &QObject::destroyed, list, [component] { RemoveComponent(component); });
}

void RemoveComponent(QObject *component)
{
    auto it = Owners().find(component);
    if (it == Owners().end())
        return;
    TComponentList *list = it.value();
    Owners().erase(it);
    list->Remove(component);
    QObject::disconnect(component, nullptr, list, nullptr);
}

QObject *ComponentOwner(const QObject *component)
{
    TComponentList *list = Owners().value(component);
    return list ? const_cast<QObject *>(list->FOwner) : nullptr;
}

QList<QObject *> OwnedComponents(const QObject *owner)
{
    TComponentList *list = TComponentList::Of(owner, false);
    return list ? list->Components() : QList<QObject *>();
}

QObject *FindComponent(const QObject *owner, const QString &name)
{
    TComponentList *list = TComponentList::Of(owner, false);
    return list ? list->Find(name) : nullptr;
}

void SetComponentName(QObject *component, const QString &name)
{
    if (!component || component->objectName() == name)
        return;
    if (TComponentList *list = Owners().value(component)) {
        QObject *other = list->Find(name);
        if (other && other != component)
            throw Exception(QStringLiteral("A component named %1 already exists").arg(name));
    }
    component->setObjectName(name);
}
