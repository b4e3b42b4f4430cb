#include "FreedesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage Call(const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

FreedesktopNotifier::FreedesktopNotifier(const QString &applicationName, const QString &iconName, QDBusConnection bus,
                                         QObject *parent)
    : QObject(parent), bus(std::move(bus)), applicationName(applicationName), iconName(iconName)
{
    this->bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                      SLOT(ActionInvoked(uint, QString)));
    this->bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                      SLOT(NotificationClosed(uint, uint)));
    gather.setSingleShot(true);
    gather.setInterval(kGatherMs);
    connect(&gather, &QTimer::timeout, this, &FreedesktopNotifier::Show);
    AskForService(); // known by the time there is news
}

void FreedesktopNotifier::CallThen(QDBusMessage call, std::function<void(const QDBusMessage &)> then)
{
    auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [then = std::move(then)](QDBusPendingCallWatcher *done) {
                done->deleteLater();
                then(done->reply());
            });
}

void FreedesktopNotifier::AskForService()
{
    if (!bus.isConnected() || (serviceAsked.isValid() && serviceAsked.elapsed() < kServiceCheckMs))
        return;
    serviceAsked.start();
    // A server that is not running yet may be started for this (D-Bus activation).
    CallThen(Call(QStringLiteral("GetCapabilities")), [this](const QDBusMessage &reply) {
        serviceThere = reply.type() == QDBusMessage::ReplyMessage;
        bodyMarkup = serviceThere && reply.arguments().value(0).toStringList().contains(QStringLiteral("body-markup"));
    });
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
    if (!serviceThere) {
        AskForService();
        return false;
    }
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
    // A server found gone (or hung) since the news was gathered is not asked again.
    if (count == 0 || !serviceThere)
        return;

    if (showing) { // the answer brings the id that this update replaces
        showAgain = true;
        return;
    }
    const QString summary = count == 1 ? applicationName
                                       : tr("%1: %n new messages", nullptr, count).arg(applicationName);
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), iconName);
    hints.insert(QStringLiteral("category"), QStringLiteral("im.received"));
    QDBusMessage notify = Call(QStringLiteral("Notify"));
    notify << applicationName << shownId << iconName << summary << Body()
           << QStringList{QStringLiteral("default"), tr("Open")} << hints << -1;
    showing = true;
    CallThen(notify, [this](const QDBusMessage &reply) { Shown(reply); });
}

void FreedesktopNotifier::Shown(const QDBusMessage &reply)
{
    showing = false;
    const bool seenMeanwhile = std::exchange(forgotten, false);
    const bool newsMeanwhile = std::exchange(showAgain, false);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        serviceThere = false; // asked again with the next news
        serviceAsked.invalidate();
        return;
    }
    shownId = reply.arguments().value(0).toUInt();
    if (seenMeanwhile) {
        Forget();
        return;
    }
    if (newsMeanwhile)
        Show();
}

void FreedesktopNotifier::Forget()
{
    gather.stop();
    forgotten = showing;
    showAgain = false;
    if (shownId != 0) {
        QDBusMessage close = Call(QStringLiteral("CloseNotification"));
        close << shownId;
        bus.send(close);
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
