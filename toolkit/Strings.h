#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// An ordered list of lines. Text joins them with CR LF. A sorted list keeps its lines
// in order ignoring case and puts an added line where it belongs. OnChange fires after
// every change, or once at the end of a BeginUpdate/EndUpdate bracket.
class TStrings
{
public:
    TStrings() = default;
    TStrings(const TStrings &other) : FLines(other.FLines), FSorted(other.FSorted) {}
    TStrings &operator=(const TStrings &other);

    int Count() const { return static_cast<int>(FLines.size()); }
    bool IsEmpty() const { return FLines.isEmpty(); }
    const QString &operator[](int index) const { return FLines.at(index); }
    QString Strings(int index) const { return FLines.value(index); }
    void SetStrings(int index, const QString &line);
    const QStringList &Lines() const { return FLines; }

    int Add(const QString &line); // the position where the line landed
    void Insert(int index, const QString &line);
    void Delete(int index);
    void Clear();
    int IndexOf(const QString &line) const; // ignoring case, first match; -1 if none

    // Copies the lines (never shares them).
    void Assign(const QStringList &lines);
    void Assign(const TStrings &other) { Assign(other.FLines); }
    void AddStrings(const QStringList &lines);

    QString Text() const;               // every line followed by CR LF
    void SetText(const QString &text);  // CR, LF or CR LF end a line
    QString CommaText() const;

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    void Sort();

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    std::function<void()> OnChange;

    bool operator==(const TStrings &other) const { return FLines == other.FLines; }

private:
    void Changed();

    QStringList FLines;
    bool FSorted = false;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

// Splits a text into lines the way the list does: CR, LF or CR LF end a line; a
// closing line break adds no empty line.
QStringList SplitLines(const QString &text);
