#include "PlatformChoice.h"

#include <QProcessEnvironment>

#include <xcb/xcb.h>

QByteArray ChosenPlatform(const QProcessEnvironment &environment)
{
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return {};
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()
                         || environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
    if (wayland && !environment.value(QStringLiteral("DISPLAY")).isEmpty())
        return QByteArrayLiteral("xcb");
    return {};
}

void ChoosePlatform()
{
    const QByteArray platform = ChosenPlatform(QProcessEnvironment::systemEnvironment());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

bool DisplayAvailable(const QProcessEnvironment &environment)
{
    const QString platform = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    const QString x11 = environment.value(QStringLiteral("DISPLAY"));
    if (!platform.isEmpty() && !platform.startsWith(QLatin1String("xcb")))
        return true;
    if (platform.isEmpty() && !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        return true;
    if (x11.isEmpty())
        return false;
    xcb_connection_t *connection = xcb_connect(x11.toLocal8Bit().constData(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}
