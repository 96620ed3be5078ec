#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

// The owner model on top of Qt. An owner (a window, a design surface) lists the
// components it owns in creation order and destroys the ones still alive when it is
// destroyed itself. The owner is independent of the Qt parent, which stays the
// display parent. A component's Name is its objectName; names are unique among the
// components of one owner, ignoring case (the empty name excepted).
class TComponentList : public QObject {
    Q_OBJECT
public:
    // The list of an owner, created on first use as a hidden child of the owner.
    static TComponentList *Of(const QObject *owner, bool create = true);

    int Count() const { return FItems.size(); }
    QObject *Component(int index) const { return FItems.at(index); }
    QList<QObject *> Components() const;
    // First component whose name equals the text, ignoring case; nullptr if none.
    QObject *Find(const QString &name) const;

    ~TComponentList() override;

private:
    explicit TComponentList(QObject *owner);
    friend void InsertComponent(QObject *owner, QObject *component);
    friend void RemoveComponent(QObject *component);
    friend QObject *ComponentOwner(const QObject *component);
    void Remove(QObject *component);

    const QObject *FOwner;
    QList<QObject *> FItems;
};

// Makes owner the owner of component (removing it from a former owner first).
void InsertComponent(QObject *owner, QObject *component);
// Takes the component out of its owner's list; the owner no longer destroys it.
void RemoveComponent(QObject *component);
QObject *ComponentOwner(const QObject *component);
QList<QObject *> OwnedComponents(const QObject *owner);
QObject *FindComponent(const QObject *owner, const QString &name);

// Renames a component. Raises Exception("A component named %s already exists") when
// another component of the same owner has that name.
void SetComponentName(QObject *component, const QString &name);

// The class name by which the system knows a component (the question's kind).
inline QString ComponentClassName(const QObject *component)
{
    return component ? QString::fromLatin1(component->metaObject()->className()) : QString();
}
