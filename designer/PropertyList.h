#pragma once

// The inspector's rows: the published properties of the selected controls (or of the
// design surface when nothing is selected), filtered, merged and with their edit
// modes. Applying a row writes through the property model; the grid only shows rows.

#include "designer/PrGrid.h"
#include "toolkit/Graphics.h"

#include <QList>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

struct TPropertyRow {
    QString Name;
    QString Value;
    QString Type; // "String", "Integer", "Boolean", "TColor", "TFont", ...
    TPropEditMode EditMode = emSimple;
    QStringList PickList; // "Boolean", "TColor" and enumeration rows
    // Chosen or opened, never typed.
    bool ReadOnly() const { return EditMode == emPickList || EditMode == emEllipsis; }
};

class TPropertyList {
public:
    QStringList SupportedProps; // when not empty, only these are listed
    QStringList UnSupportedProps; // never listed
    QStringList UnEditableProps; // listed, not editable
    QStringList EditButtonProps; // rows with an ellipsis button
    QStringList BitMaskProps; // names a Tag bit can lock (from bit 512 on)
    bool BitMaskTags = false;

    // Rows of the properties common to every selected control (values only where all
    // agree), or of the surface when the selection is empty; alphabetical, ignoring case.
    void Rebuild(const QList<QWidget *> &selection, QObject *surface);
    // Fresh value texts for the rows still present; skipRow is left alone.
    void RefreshValues(const QList<QWidget *> &selection, QObject *surface, int skipRow = -1);

    int Count() const { return static_cast<int>(FRows.size()); }
    const TPropertyRow &Row(int index) const { return FRows.at(index); }
    void SetValue(int index, const QString &value) { FRows[index].Value = value; }
    // Writes one row; grows the list when index is the count.
    void SetRow(int index, const QString &name, TPropEditMode mode, const QString &type, const QString &value);
    // The mode of a row as it becomes current (DateMode, PopupTime, Visible, ...).
    void SetEditMode(int index, TPropEditMode mode) { FRows[index].EditMode = mode; }
    // First row named exactly so (case-sensitive); -1 when none.
    int FindRow(const QString &name) const;

    bool IsSupported(const QString &name) const;
    bool IsEditable(const QString &name, const QList<QWidget *> &selection) const;

    // Writing a row's value text into every target. Each is true only when every target
    // reported true: ApplyOrdinal, ApplyFloat and ApplyString that the value changed,
    // ApplyText that every target has the property and accepted the text.
    bool ApplyOrdinal(int index, const QList<QObject *> &targets) const;
    bool ApplyFloat(int index, const QList<QObject *> &targets) const;
    bool ApplyString(int index, const QList<QObject *> &targets) const;
    bool ApplyText(int index, const QList<QObject *> &targets) const;

    // The colour table; an identifier that is not in it gives clWindow.
    static QString ColorToIdentifier(TColor value);
    static TColor IdentifierToColor(const QString &text);

private:
    struct TCollected {
        QString Name, Value, Type;
        QStringList Idents;
    };
    QList<TCollected> Collect(QObject *object) const;
    QList<TCollected> CollectAll(const QList<QWidget *> &selection, QObject *surface) const;

    QList<TPropertyRow> FRows;
};

// The targets rows are applied to: the selection, or the surface when it is empty.
QList<QObject *> PropertyTargets(const QList<QWidget *> &selection, QObject *surface);

// A floating-point number in the system's form or with a decimal point.
bool TryTextToFloat(const QString &text, double *value);
