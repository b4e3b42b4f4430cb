#include "AddressFilter.h"

#include <QRegularExpression>
#include <QSet>

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

QStringList WholeAddressLines(const QStringList &filterLines)
{
    static const QRegularExpression wholeAddress(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$"));
    QStringList whole;
    QSet<QString> seen;
    for (const QString &line : filterLines) {
        if (wholeAddress.match(line).hasMatch() && !seen.contains(line)) {
            seen.insert(line);
            whole << line;
        }
    }
    return whole;
}
