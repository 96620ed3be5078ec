#pragma once

// The six question controls: ordinary controls that carry the question's data in
// published properties. The class name is the question's kind everywhere.

#include "toolkit/StdCtrls.h"

struct TClassInfo;

// What every question control adds: the row key and the question text.
class TQuestionControl {
public:
    virtual ~TQuestionControl() = default;
    int ID() const { return FID; }
    void SetID(int value) { FID = value; }
    QString Question() const { return FQuestion; }
    void SetQuestion(const QString &value) { FQuestion = value; }

private:
    int FID = 0;
    QString FQuestion;
};

// Short answer.
class TQAMaskEdit : public TEditBox, public TQuestionControl {
    Q_OBJECT
public:
    explicit TQAMaskEdit(QObject *owner, QWidget *parent = nullptr);
    QString CorrectAnswer() const { return FCorrectAnswer; }
    void SetCorrectAnswer(const QString &value) { FCorrectAnswer = value; }

private:
    QString FCorrectAnswer;
};

// One correct choice from a drop-down list. Assigning Answers does not touch Items;
// a combo box rebuilt from its text offers exactly Answers.
class TQACombobox : public TComboBox, public TQuestionControl {
    Q_OBJECT
public:
    explicit TQACombobox(QObject *owner, QWidget *parent = nullptr);
    TStrings *Answers() { return &FAnswers; }
    const TStrings *Answers() const { return &FAnswers; }
    void SetAnswers(const TStrings &value) { FAnswers.Assign(value); }
    void SetAnswers(const QStringList &value) { FAnswers.Assign(value); }
    QString CorrectAnswer() const { return FCorrectAnswer; }
    void SetCorrectAnswer(const QString &value) { FCorrectAnswer = value; }

private:
    TStrings FAnswers;
    QString FCorrectAnswer;
};

// One correct choice among radio buttons; assigning Answers also sets Items.
class TQARadioGroup : public TRadioGroup, public TQuestionControl {
    Q_OBJECT
public:
    explicit TQARadioGroup(QObject *owner, QWidget *parent = nullptr);
    TStrings *Answers() { return &FAnswers; }
    const TStrings *Answers() const { return &FAnswers; }
    void SetAnswers(const TStrings &value) { SetAnswers(value.Lines()); }
    void SetAnswers(const QStringList &value);
    QString CorrectAnswer() const { return FCorrectAnswer; }
    void SetCorrectAnswer(const QString &value) { FCorrectAnswer = value; }

private:
    TStrings FAnswers;
    QString FCorrectAnswer;
};

// One or several correct choices in a list box; assigning Answers also sets Items.
class TQAListbox : public TListBox, public TQuestionControl {
    Q_OBJECT
public:
    explicit TQAListbox(QObject *owner, QWidget *parent = nullptr);
    TStrings *Answers() { return &FAnswers; }
    const TStrings *Answers() const { return &FAnswers; }
    void SetAnswers(const TStrings &value) { SetAnswers(value.Lines()); }
    void SetAnswers(const QStringList &value);
    TStrings *CorrectAnswers() { return &FCorrectAnswers; }
    const TStrings *CorrectAnswers() const { return &FCorrectAnswers; }
    void SetCorrectAnswers(const TStrings &value) { FCorrectAnswers.Assign(value); }
    void SetCorrectAnswers(const QStringList &value) { FCorrectAnswers.Assign(value); }

private:
    TStrings FAnswers;
    TStrings FCorrectAnswers;
};

// Essay: the response is the whole memo text.
class TQARichEdit : public TRichEdit, public TQuestionControl {
    Q_OBJECT
public:
    explicit TQARichEdit(QObject *owner, QWidget *parent = nullptr);
    QString CorrectAnswer() const { return FCorrectAnswer; }
    void SetCorrectAnswer(const QString &value) { FCorrectAnswer = value; }

private:
    QString FCorrectAnswer;
};

// Date question. Setting CorrectAnswer to a valid date (short date format) also sets
// DateAnswer; any other text is kept as text and leaves DateAnswer alone.
class TQADateTime : public TDateTimePicker, public TQuestionControl {
    Q_OBJECT
public:
    explicit TQADateTime(QObject *owner, QWidget *parent = nullptr);
    QString CorrectAnswer() const { return FCorrectAnswer; }
    void SetCorrectAnswer(const QString &value);
    double DateAnswer() const { return FDateAnswer; }
    void SetDateAnswer(double value) { FDateAnswer = value; }

private:
    QString FCorrectAnswer;
    double FDateAnswer = 0;
};

// The property tables of the six classes (added to the known tables on first use).
const TClassInfo *QAMaskEditClassInfo();
const TClassInfo *QAComboboxClassInfo();
const TClassInfo *QARadioGroupClassInfo();
const TClassInfo *QAListboxClassInfo();
const TClassInfo *QARichEditClassInfo();
const TClassInfo *QADateTimeClassInfo();

// Registers the six classes with the designer's class registry, in the order
// TQAMaskEdit, TQACombobox, TQADateTime, TQARadioGroup, TQAListbox, TQARichEdit.
void RegisterQuestionClasses();

// True for an object of one of the six classes.
bool IsQuestionControl(const QObject *object);
