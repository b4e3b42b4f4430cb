#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

// The errors the program's handlers let through to the application's error
// box. Their messages are the texts the user sees.
class ERuntimeError : public std::runtime_error {
public:
    explicit ERuntimeError(const QString &message);
    QString Message() const;
};

// A text that should have been a number and is not:
// "'abc' is not a valid integer value".
class EConvertError : public ERuntimeError {
public:
    using ERuntimeError::ERuntimeError;
    // The error for a text that is no integer.
    static EConvertError NotAnInteger(const QString &text);
};

// A position outside a list: "List index out of bounds (5)".
class EListError : public ERuntimeError {
public:
    explicit EListError(qsizetype index);
};

// Runs a handler that no caller waits for (a timer's): an error it lets
// through goes to `report`, with the text the user would see.
template <typename Handler, typename Report>
void reportingErrors(const Handler &handler, const Report &report)
{
    try {
        handler();
    } catch (const ERuntimeError &error) {
        report(error.Message());
    }
}

// Reads a 32-bit integer the way the program's settings and port texts have
// always been read: leading blanks, an optional sign, decimal digits or a
// hexadecimal number after "$" or "0x", and nothing after. Throws EConvertError.
int StrToInt(const QString &text);

// A whole decimal number as settings files and fields hold it: leading blanks,
// an optional sign, decimal digits and nothing after; nullopt for anything else.
std::optional<int> ReadWholeNumber(const QString &text);
