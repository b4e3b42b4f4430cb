#include "DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopShell::Open(const QString &address)
{
    return QDesktopServices::openUrl(QUrl(address));
}
