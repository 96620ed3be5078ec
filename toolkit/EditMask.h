#pragma once

#include <QChar>
#include <QList>
#include <QString>

// An edit mask "<mask characters>;<save literals>;<blank character>" and the rules
// by which it shapes what is typed. Each mask character that is not a directive
// (! > < <> \) is one position of the edit text: an input position or a literal.
//
// Edit text: what the box shows, one character per position, unfilled input
// positions shown as the blank character.
// Value: the filled characters in order, the literals only when they are saved,
// unfilled positions left out; empty when no input position is filled.
class TEditMask {
public:
    enum class TKind {
        Literal,
        Digit, // 0
        OptDigit, // 9
        OptDigitSign, // #
        Letter, // L
        OptLetter, // l
        AlphaNum, // A
        OptAlphaNum, // a
        AnyChar, // C
        OptAnyChar // c
    };
    enum class TCase { None, Upper, Lower };

    struct TPosition {
        TKind Kind = TKind::Literal;
        QChar Char; // the literal's character
        TCase Case = TCase::None;
    };

    // Longer masks are refused: real ones are a few dozen characters, and laying a
    // text into a mask costs mask length x text length.
    static constexpr int MaxMaskLength = 256;

    TEditMask() = default;
    explicit TEditMask(const QString &mask);

    // Raises "Invalid property value" for a mask longer than MaxMaskLength, keeping
    // the mask it had.
    void SetMask(const QString &mask);
    QString Mask() const { return FMask; }
    // A mask without a single position leaves the box unmasked.
    bool IsMasked() const { return !FPositions.isEmpty(); }
    int Length() const { return int(FPositions.size()); }
    const TPosition &Position(int pos) const { return FPositions.at(pos); }

    bool SaveLiterals() const { return FSaveLiterals; }
    QChar BlankChar() const { return FBlank; }
    // '!': a value laid into the positions fills them from the right, so the
    // optional positions left over are the leading ones.
    bool LeadingBlanks() const { return FLeadingBlanks; }

    bool IsLiteral(int pos) const;
    bool IsRequired(int pos) const;
    // Whether the character may be typed at the input position (never the blank).
    bool Accepts(int pos, QChar c) const;
    // The character as the position stores it (case conversion).
    QChar Convert(int pos, QChar c) const;
    // First input position at or after pos; Length() when there is none.
    int NextInput(int pos) const;
    // Last input position at or before pos; -1 when there is none.
    int PrevInput(int pos) const;

    QString EmptyEditText() const;
    bool IsFilled(const QString &editText, int pos) const;

    // Typing c at the cursor: fills the next input position when it accepts c.
    // Returns the new cursor position, or -1 when the character is rejected.
    int TypeChar(QString &editText, int cursor, QChar c) const;
    // Unfills the input positions in [from, to).
    void Clear(QString &editText, int from, int to) const;
    // Backspace: unfills the input position before the cursor, skipping literals.
    // Returns the new cursor position.
    int Backspace(QString &editText, int cursor) const;
    // Delete: unfills the input position at or after the cursor. Returns the new
    // cursor position.
    int Delete(QString &editText, int cursor) const;
    // Pasting: lays the text into the positions from the cursor on, matching its
    // literal characters with the mask's literals and dropping what fits nowhere.
    // Returns the new cursor position (unchanged when nothing fitted).
    int Paste(QString &editText, int cursor, const QString &text) const;

    // The value of an edit text, and the edit text of a value (right-aligned with
    // '!', left-aligned without).
    QString Value(const QString &editText) const;
    QString EditTextOf(const QString &value) const;

private:
    // Lays text into the positions listed (in that order); entry k of the result
    // is the character for order[k], or a null QChar where nothing went.
    QList<QChar> Align(const QList<int> &order, const QString &text, bool matchLiterals) const;
    // Brings an edit text to this mask's length.
    void Fit(QString &editText) const;

    QString FMask;
    QList<TPosition> FPositions;
    bool FSaveLiterals = true;
    bool FLeadingBlanks = false;
    QChar FBlank = QLatin1Char('_');
};

// The system's date separator, taken from the short date format.
QChar DateSeparator();
// FormatMaskText: a value shown as the mask would show it.
QString FormatMaskText(const QString &mask, const QString &value);
