#include "FreedesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage Call(const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

FreedesktopNotifier::FreedesktopNotifier(const QString &applicationName, const QString &iconName, QObject *parent)
    : QObject(parent), applicationName(applicationName), iconName(iconName)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(ActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(NotificationClosed(uint, uint)));
    gather.setSingleShot(true);
    gather.setInterval(kGatherMs);
    connect(&gather, &QTimer::timeout, this, &FreedesktopNotifier::Show);
}

bool FreedesktopNotifier::ServiceThere()
{
    if (serviceChecked.isValid() && serviceChecked.elapsed() < kServiceCheckMs)
        return serviceThere;
    serviceChecked.start();
    serviceThere = false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    // The server may start on demand (D-Bus activation) or come later.
    if (!bus.interface()->isServiceRegistered(kService).value()
        && !bus.interface()->activatableServiceNames().value().contains(kService))
        return false;
    if (!capabilitiesAsked) {
        const QDBusReply<QStringList> capabilities = bus.call(Call(QStringLiteral("GetCapabilities")));
        if (!capabilities.isValid())
            return false;
        capabilitiesAsked = true;
        bodyMarkup = capabilities.value().contains(QStringLiteral("body-markup"));
    }
    serviceThere = true;
    return true;
}

QString FreedesktopNotifier::Body() const
{
    QStringList shown = lines;
    if (bodyMarkup)
        for (QString &line : shown)
            line = line.toHtmlEscaped();
    return shown.join(QLatin1Char('\n'));
}

bool FreedesktopNotifier::Tell(const QString &news)
{
    if (!ServiceThere())
        return false;
    lines << news;
    if (lines.size() > kLinesShown)
        lines.removeFirst();
    ++count;
    if (!gather.isActive())
        gather.start();
    return true;
}

void FreedesktopNotifier::Show()
{
    if (count == 0)
        return;
    const QString summary = count == 1 ? applicationName
                                       : QStringLiteral("%1: %2 new messages").arg(applicationName).arg(count);
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), iconName);
    hints.insert(QStringLiteral("category"), QStringLiteral("im.received"));
    QDBusMessage notify = Call(QStringLiteral("Notify"));
    notify << applicationName << shownId << iconName << summary << Body()
           << QStringList{QStringLiteral("default"), QStringLiteral("Open")} << hints << -1;
    const QDBusReply<uint> reply = QDBusConnection::sessionBus().call(notify);
    if (reply.isValid())
        shownId = reply.value();
    else
        serviceChecked.invalidate(); // asked again with the next news
}

void FreedesktopNotifier::Forget()
{
    gather.stop();
    if (shownId != 0) {
        QDBusMessage close = Call(QStringLiteral("CloseNotification"));
        close << shownId;
        QDBusConnection::sessionBus().call(close, QDBus::NoBlock);
    }
    shownId = 0;
    lines.clear();
    count = 0;
}

void FreedesktopNotifier::ActionInvoked(uint id, const QString &action)
{
    if (id != shownId || id == 0 || action != QLatin1String("default"))
        return;
    Forget();
    if (onActivated)
        onActivated();
}

void FreedesktopNotifier::NotificationClosed(uint id, uint)
{
    if (id != shownId)
        return;
    gather.stop();
    shownId = 0;
    lines.clear();
    count = 0;
}
