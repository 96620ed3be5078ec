#pragma once

// The GIFT text format of question exchange (Moodle's quiz import and export):
// reading a file into questions of our six kinds, and writing them back.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QObject;

// One question read from a GIFT text, or one question to be written as GIFT.
struct TGiftQuestion {
    int Line = 0; // line of the file where the question starts (the first line is 1)
    QString Name; // the ::name::; read, and only used to recognise our own kinds
    QString ClassName; // the kind (TQA...); empty when the question is skipped
    QString Question;
    QStringList Answers; // the offered choices, in order (choice kinds)
    QStringList Correct; // the correct answer, or the correct choices of a list box
    bool MultiSelect = false; // a list box where several choices are chosen
    QStringList Notes; // what the file held that the question does not keep
    QString SkipReason; // why the question cannot be imported; empty when it can
};

// The text of a file's bytes: UTF-8, with or without a byte order mark. False, with
// the reason, for binary data and for text in another encoding.
bool DecodeGiftText(const QByteArray &bytes, QString &text, QString *error);

// Every question of the text in file order, also the skipped ones (with SkipReason).
// Comments, $CATEGORY lines, feedback and the formats' marks are read and dropped.
QList<TGiftQuestion> ReadGift(const QString &text);

// The questions as GIFT: each with its ::name::, blank lines between them, every
// character GIFT gives a meaning escaped, line breaks as \n.
QString WriteGift(const QList<TGiftQuestion> &questions);

// GIFT's escapes for a piece of text.
QString GiftEscape(const QString &text);

// What a question control holds, as a GIFT question named name (its stored NAME).
TGiftQuestion GiftQuestionOf(const QObject *control, const QString &name);
