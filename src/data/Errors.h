// Errors raised by the core. Each carries the text shown to the person using the program.
#pragma once

#include <QString>
#include <exception>

class ETaskwickError : public std::exception
{
public:
    explicit ETaskwickError(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
    const QString& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A stored text that does not convert to the value it should hold.
class EConvertError : public ETaskwickError
{
public:
    using ETaskwickError::ETaskwickError;
};

// A data file that cannot be created, read, parsed or saved.
class EFileError : public ETaskwickError
{
public:
    using ETaskwickError::ETaskwickError;
};
