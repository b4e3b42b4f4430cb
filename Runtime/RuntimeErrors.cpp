#include "RuntimeErrors.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <limits>

ERuntimeError::ERuntimeError(const QString &message) : std::runtime_error(message.toStdString()) {}

QString ERuntimeError::Message() const
{
    return QString::fromStdString(what());
}

EListError::EListError(qsizetype index)
    : ERuntimeError(QCoreApplication::translate("RuntimeErrors", "List index out of bounds (%1)").arg(index))
{
}

EConvertError EConvertError::NotAnInteger(const QString &text)
{
    return EConvertError(QCoreApplication::translate("RuntimeErrors", "'%1' is not a valid integer value").arg(text));
}

namespace {

[[noreturn]] void NotAnInteger(const QString &text)
{
    throw EConvertError::NotAnInteger(text);
}

int DigitValue(QChar character, int base)
{
    const int value = character.isDigit() ? character.digitValue()
                      : (character.toLower() >= QLatin1Char('a') && character.toLower() <= QLatin1Char('f'))
                          ? character.toLower().unicode() - 'a' + 10
                          : -1;
    return (value >= 0 && value < base && character.unicode() < 0x80) ? value : -1;
}

} // namespace

int StrToInt(const QString &text)
{
    qsizetype at = 0;
    while (at < text.size() && text[at] == QLatin1Char(' '))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-'))) {
        negative = text[at] == QLatin1Char('-');
        ++at;
    }
    int base = 10;
    if (text.mid(at, 1) == QLatin1String("$")) {
        base = 16;
        at += 1;
    } else if (text.mid(at, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        at += 2;
    }
    if (at >= text.size())
        NotAnInteger(text);

    // A negative number may reach one more than the largest int.
    const qint64 limit = negative ? qint64(std::numeric_limits<int>::max()) + 1
                                  : std::numeric_limits<int>::max();
    qint64 magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at], base);
        if (digit < 0)
            NotAnInteger(text);
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            NotAnInteger(text);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::optional<int> ReadWholeNumber(const QString &text)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^ *([+-]?[0-9]+)$"));
    const QRegularExpressionMatch match = wholeNumber.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool fits = false;
    const int value = match.captured(1).toInt(&fits);
    if (!fits)
        return std::nullopt;
    return value;
}
