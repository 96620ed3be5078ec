#pragma once

#include <QString>

// Texts that teachers and students type are shown exactly as typed: never taken for
// rich text, never losing an ampersand to an access key.

// A caption for a button, where a single ampersand would mark an access key.
QString ShowAmpersands(const QString &text);
// A hint for a tooltip, which would take a text with tags for rich text.
QString PlainHint(const QString &text);
