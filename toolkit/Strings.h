#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// An ordered list of lines. Text joins them with CR LF. A sorted list keeps its lines
// in order ignoring case and puts an added line where it belongs. OnChange fires after
// every change, or once at the end of a BeginUpdate/EndUpdate bracket.
class TStrings {
public:
    TStrings() = default;
    TStrings(const TStrings &other) : FLines(other.FLines), FSorted(other.FSorted) { }
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

    QString Text() const; // every line followed by CR LF
    void SetText(const QString &text); // CR, LF or CR LF end a line
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

// The one order of every sorted list and of the database's text columns: the
// alphabet of the system's language (English in a bare "C" environment), letter case
// ignored, accents counted after the letter (E, É, F). Negative, zero or positive.
int AlphabeticCompare(const QString &a, const QString &b);
inline bool AlphabeticLess(const QString &a, const QString &b)
{
    return AlphabeticCompare(a, b) < 0;
}

// Stored bytes as text: UTF-8 when they are valid UTF-8, otherwise the old programs'
// 8-bit code page (Windows Latin-1), so that no letter is lost; readAsLatin1 tells which.
QString TextFromBytes(const char *bytes, qsizetype size, bool *readAsLatin1 = nullptr);
inline QString TextFromBytes(const QByteArray &bytes, bool *readAsLatin1 = nullptr)
{
    return TextFromBytes(bytes.constData(), bytes.size(), readAsLatin1);
}
