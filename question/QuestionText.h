#pragma once

// Question controls to object text and back, and loading the questions of a test.

#include "question/ObjectText.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class TDbQuery;

// One stored question row.
struct TControlDef {
    int ID = 0;
    QString Name;
    QString Question;
    QString Control; // the object text
};

// Entries of LoadTestQuestions: the question's ID in decimal and its row.
struct TControlDefEntry {
    QString Text;
    TControlDef Def;
};
using TControlDefList = QList<TControlDefEntry>;

// Entries of CreateQuestionControls: the question text and the rebuilt control (none
// when the text named no question class). The owner window owns the controls.
struct TQuestionEntry {
    QString Text;
    QPointer<QWidget> Control;
};
using TQuestionControlList = QList<TQuestionEntry>;

// One question prepared for the printout.
struct TReportObj {
    QString Question;
    std::optional<QStringList> Answers; // present only for the three choice kinds
    QStringList CorrectAnswers;
    QString ClassName; // upper case, e.g. TQARICHEDIT
};
struct TReportEntry {
    QString Text;
    TReportObj Report;
};
using TReportList = QList<TReportEntry>;

// The control as the one object of an object text, every line ended by CR LF.
QString ComponentToText(QObject *control);
TTextObject ComponentToTextObject(QObject *control);

// Reads a parsed object into a control: the header's name first (Exception "A component
// named %s already exists"), then every property in text order (Exception "Error reading
// %s%s%s: %s" with the control's name, ".", the path and the cause).
void ReadComponent(QObject *control, const TTextObject &object);

// What follows the first colon, trimmed and with a-z made upper case; the line itself
// when it has no colon.
QString ObjectLineClassName(const QString &line);

// lines[0] is the class key (any case) and is removed; the rest is the object text.
// Returns the new control, or nullptr when the key names none of the six classes.
// Syntax errors raise EParserError before any control exists; reading errors raise
// Exception and leave the control owned by owner, hidden and off the parent.
QWidget *TextToQuestionControl(QStringList &lines, QObject *owner, QWidget *parent);

// Components of owner other than component whose class name equals component's.
int CountSameClass(const QObject *component, const QObject *owner);

// The Question of a question control; empty for anything else.
QString GetQuestionText(const QObject *control);

// Rebuilds the controls of defs in order, naming each <header name>_<n> with n counting
// the owner's controls of that class. An error ends the call; entries made stay.
void CreateQuestionControls(const TControlDefList &defs, TQuestionControlList &controls, QObject *owner,
                            QWidget *parent);

// Appends the questions of a test in SEQUENCE order. testID must be an integer text
// (it is placed into the statement); database errors reach the caller unchanged.
void LoadTestQuestions(TDbQuery &query, TControlDefList &defs, const QString &testID);

// Appends the printout record of a question control.
void AddReportObj(TReportList &list, QObject *control);
