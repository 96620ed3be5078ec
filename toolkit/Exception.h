#pragma once

#include <QString>
#include <exception>

// The error that the database layer, the object text reader and the toolkit raise.
// Windows catch it around each statement and show Message() as the Part of the
// program they belong to asks.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) { }
    const QString &Message() const { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// Raised by the statement object with the engine's own message text.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};
