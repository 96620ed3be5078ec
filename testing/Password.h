#pragma once

#include <QString>

// Students' passwords. New passwords are stored as salted Argon2id hashes; the older
// scrambled form is still recognised so that it can be replaced at the next login.

// The older stored form: each character's 8-bit code c becomes c + 99 in upper-case
// hexadecimal, at least two digits, joined without separators.
QString ScramblePassword(const QString &password);

// A new salted Argon2id hash of the password (interactive limits). Raises Exception
// when the hash cannot be made (out of memory, library not usable).
QString HashPassword(const QString &password);

// Whether the stored value is a hash made by HashPassword (rather than the older form).
bool IsPasswordHash(const QString &stored);

// Whether the password opens the stored value, in either form. An empty stored value
// is the scrambled form of the empty password.
bool PasswordVerifies(const QString &stored, const QString &password);

// Whether the stored value should be replaced by a fresh hash after a successful check:
// the older form, or a hash made with other limits than today's.
bool PasswordNeedsUpgrade(const QString &stored);
