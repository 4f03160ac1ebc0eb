#pragma once

#include <QString>

#include <exception>

// The program's own error object: what escapes an event handler is shown by
// the general error report with this message.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FWhat(FMessage.toUtf8()) {}
    const QString &Message() const { return FMessage; }
    const char *what() const noexcept override { return FWhat.constData(); }

private:
    QString FMessage;
    QByteArray FWhat;
};

// A settings or language file could not be written.
class EIniFileException : public Exception
{
public:
    using Exception::Exception;
};

// A file could not be created or written.
class EFileError : public Exception
{
public:
    using Exception::Exception;
};
