#include "AddressFilter.h"

#include <QRegularExpression>

#include <algorithm>

bool AdmitGuest(const QStringList &filterLines, int filterMode, const QString &address)
{
    const bool include = filterMode == 0;
    if (filterLines.isEmpty())
        return true;
    for (const QString &line : filterLines)
        if (!line.isEmpty() && address.startsWith(line, Qt::CaseSensitive))
            return include;
    return !include;
}

bool AdmitsEveryone(const QStringList &filterLines, int filterMode)
{
    const bool anyMatches = std::any_of(filterLines.begin(), filterLines.end(),
                                        [](const QString &line) { return !line.isEmpty(); });
    return filterLines.isEmpty() || (!anyMatches && filterMode != 0);
}

QString LongerAddressesCovered(const QString &line)
{
    // Three parts, and a last one of one or two digits, not starting with 0.
    static const QRegularExpression wholeAddress(
        QStringLiteral("^(\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.)([1-9]\\d?)$"));
    const QRegularExpressionMatch match = wholeAddress.match(line);
    if (!match.hasMatch())
        return {};
    constexpr int kHighestPart = 255;
    const QString start = match.captured(1);
    const int last = match.captured(2).toInt();
    QStringList ranges;
    // One digit more, then two, as long as the part stays an address's.
    for (int scale = 10; scale <= 100; scale *= 10) {
        const int first = last * scale;
        const int end = std::min(first + scale - 1, kHighestPart);
        if (first <= kHighestPart)
            ranges << QStringLiteral("%1%2–%3").arg(ranges.isEmpty() ? start : QString()).arg(first).arg(end);
    }
    return ranges.join(QStringLiteral(", "));
}
