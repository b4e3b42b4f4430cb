#include "AddressFilter.h"

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
