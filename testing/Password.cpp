#include "testing/Password.h"

#include "toolkit/Exception.h"

#include <QByteArray>

#include <sodium.h>

#include <cstring>

namespace {

void InitSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw Exception(QStringLiteral("The password library could not be initialised."));
}

// The library reads a hash as a buffer of crypto_pwhash_STRBYTES; false when the
// stored text cannot be one.
bool HashBuffer(const QString &stored, char (&buffer)[crypto_pwhash_STRBYTES])
{
    const QByteArray latin1 = stored.toLatin1();
    if (latin1.size() >= crypto_pwhash_STRBYTES)
        return false;
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, latin1.constData(), static_cast<size_t>(latin1.size()));
    return true;
}

} // namespace

QString ScramblePassword(const QString &password)
{
    QString scrambled;
    for (char c : password.toLatin1())
        scrambled +=
            QString::number(static_cast<unsigned char>(c) + 99, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    return scrambled;
}

QString HashPassword(const QString &password)
{
    InitSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw Exception(QStringLiteral("The password could not be protected: not enough memory."));
    return QString::fromLatin1(hash);
}

bool IsPasswordHash(const QString &stored)
{
    return stored.startsWith(QLatin1String("$argon2"));
}

bool PasswordVerifies(const QString &stored, const QString &password)
{
    if (!IsPasswordHash(stored))
        return stored.compare(ScramblePassword(password), Qt::CaseInsensitive) == 0;
    InitSodium();
    char hash[crypto_pwhash_STRBYTES];
    if (!HashBuffer(stored, hash))
        return false;
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size())) == 0;
}

bool PasswordNeedsUpgrade(const QString &stored)
{
    if (!IsPasswordHash(stored))
        return true;
    InitSodium();
    char hash[crypto_pwhash_STRBYTES];
    if (!HashBuffer(stored, hash))
        return true;
    return crypto_pwhash_str_needs_rehash(hash, crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0;
}
