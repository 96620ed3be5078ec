#pragma once

// Typing into the real editors, key by key, as the user does.

#include <QPlainTextEdit>
#include <QStringList>
#include <QtTest>

// Replaces what the editor holds by the lines, Return between them.
inline void TypeLines(QPlainTextEdit *editor, const QStringList &lines)
{
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, lines.at(i));
    }
}
