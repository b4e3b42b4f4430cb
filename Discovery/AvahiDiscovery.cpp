#include "AvahiDiscovery.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QSet>
#include <QSysInfo>

#include <algorithm>

namespace {

const QString kAvahi = QStringLiteral("org.freedesktop.Avahi");
const QString kServer = QStringLiteral("org.freedesktop.Avahi.Server");
const QString kEntryGroup = QStringLiteral("org.freedesktop.Avahi.EntryGroup");
const QString kServiceBrowser = QStringLiteral("org.freedesktop.Avahi.ServiceBrowser");
const QString kServiceResolver = QStringLiteral("org.freedesktop.Avahi.ServiceResolver");
const QString kCollision = QStringLiteral("org.freedesktop.Avahi.CollisionError");

// Avahi's "any network interface", "any protocol" and "IPv4".
constexpr qint32 kAnyInterface = -1;
constexpr qint32 kAnyProtocol = -1;
constexpr qint32 kIPv4 = 0;
constexpr int kGroupCollision = 3;
// A service name is one DNS label.
constexpr int kLongestLabel = 63;
// A call the daemon does not answer within this is given up.
constexpr int kCallTimeoutMs = 1000;
constexpr int kMostRenames = 10;
// A flood of announcements costs no more than this many hosts, and this many
// resolvers asked for at a time: the daemon serves one client 1,024 objects.
constexpr qsizetype kMostHosts = 200;
constexpr int kMostResolversAsked = 8;

QString ServiceType()
{
    return QString::fromLatin1(AvahiDiscovery::kServiceType);
}

QString TxtValue(const QList<QByteArray> &txt, const QByteArray &key)
{
    for (const QByteArray &entry : txt) {
        if (entry.startsWith(key + '='))
            return QString::fromUtf8(entry.mid(key.size() + 1));
    }
    return {};
}

// The object a call to the server made: an entry group, a browser or a resolver.
QString ObjectPathOf(const QDBusMessage &reply)
{
    return reply.arguments().value(0).value<QDBusObjectPath>().path();
}

// "pc1.local" is shown as "pc1".
QString MachineOf(const QString &host)
{
    return host.endsWith(QLatin1String(".local")) ? host.chopped(6) : host;
}

} // namespace

AvahiDiscovery::AvahiDiscovery(QDBusConnection bus, QObject *parent) : LanDiscovery(parent), bus(std::move(bus))
{
    qDBusRegisterMetaType<QList<QByteArray>>();
    if (!this->bus.isConnected())
        return;
    watcher = new QDBusServiceWatcher(
        kAvahi, this->bus, QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration,
        this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &AvahiDiscovery::DaemonAppeared);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &AvahiDiscovery::DaemonVanished);
    // Connected before any browser or resolver exists, for any object path:
    // the daemon may tell of the first services before its call returns.
    this->bus.connect(kAvahi, QString(), kServiceBrowser, QStringLiteral("ItemNew"), this,
                      SLOT(ItemNew(int, int, QString, QString, QString, uint)));
    this->bus.connect(kAvahi, QString(), kServiceBrowser, QStringLiteral("ItemRemove"), this,
                      SLOT(ItemRemove(int, int, QString, QString, QString, uint)));
    this->bus.connect(
        kAvahi, QString(), kServiceResolver, QStringLiteral("Found"), this,
        SLOT(Found(int, int, QString, QString, QString, QString, int, QString, ushort, QList<QByteArray>, uint)));
    const QDBusConnectionInterface *daemons = this->bus.interface();
    available = daemons && daemons->isServiceRegistered(kAvahi);
}

AvahiDiscovery::~AvahiDiscovery()
{
    FreeGroup();
}

bool AvahiDiscovery::IsAvailable() const
{
    return available;
}

QString AvahiDiscovery::InstanceName(const QString &nickname, const QString &machine)
{
    QString name = nickname + QStringLiteral(" on ") + machine;
    while (name.toUtf8().size() > kLongestLabel)
        name.chop(1);
    return name;
}

QList<QByteArray> AvahiDiscovery::TxtRecord(const HostAnnouncement &announcement)
{
    QList<QByteArray> record{"nick=" + announcement.nickname.toUtf8(), announcement.busy ? "busy=1" : "busy=0"};
    if (announcement.securePort != 0)
        record << "secure=" + QByteArray::number(announcement.securePort) << "fp=" + announcement.fingerprint.toLatin1();
    return record;
}

void AvahiDiscovery::Send(const QString &path, const QString &interface, const QString &method,
                          const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kAvahi, path, interface, method);
    call.setArguments(arguments);
    bus.send(call);
}

void AvahiDiscovery::CallThen(const QString &path, const QString &interface, const QString &method,
                              const QVariantList &arguments, std::function<void(const QDBusMessage &)> then)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kAvahi, path, interface, method);
    call.setArguments(arguments);
    auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this, then = std::move(then), daemon = daemonsSeen](QDBusPendingCallWatcher *done) {
                done->deleteLater();
                if (daemon == daemonsSeen) // not an answer of a daemon that has gone since
                    then(done->reply());
            });
}

void AvahiDiscovery::Announce(const HostAnnouncement &announcement)
{
    const bool sameService =
        announced && announced->nickname == announcement.nickname && announced->port == announcement.port;
    announced = announcement;
    if (!available)
        return; // published when the daemon appears
    if (!sameService || (groupPath.isEmpty() && !groupAsked))
        Publish();
    else if (!groupPath.isEmpty())
        Send(groupPath, kEntryGroup, QStringLiteral("UpdateServiceTxt"),
             {kAnyInterface, kAnyProtocol, 0u, publishedName, ServiceType(), QString(),
              QVariant::fromValue(TxtRecord(announcement))});
    // else the group is being made, and takes the newest record
}

void AvahiDiscovery::Publish()
{
    const quint64 attempt = ++publications;
    publishedName = InstanceName(announced->nickname, QSysInfo::machineHostName());
    if (!groupPath.isEmpty()) {
        Send(groupPath, kEntryGroup, QStringLiteral("Reset"), {});
        AddService(attempt, 0);
        return;
    }
    if (groupAsked)
        return; // the group on its way adds the service
    groupAsked = true;
    CallThen(QStringLiteral("/"), kServer, QStringLiteral("EntryGroupNew"), {}, [this](const QDBusMessage &reply) {
        groupAsked = false;
        if (reply.type() != QDBusMessage::ReplyMessage)
            return;
        if (!announced) { // withdrawn meanwhile
            Send(ObjectPathOf(reply), kEntryGroup, QStringLiteral("Free"), {});
            return;
        }
        groupPath = ObjectPathOf(reply);
        bus.connect(kAvahi, groupPath, kEntryGroup, QStringLiteral("StateChanged"), this,
                    SLOT(GroupStateChanged(int, QString)));
        AddService(publications, 0);
    });
}

void AvahiDiscovery::AddService(quint64 attempt, int renames)
{
    CallThen(groupPath, kEntryGroup, QStringLiteral("AddService"),
             {kAnyInterface, kAnyProtocol, 0u, publishedName, ServiceType(), QString(), QString(),
              QVariant::fromValue(ushort(announced->port)), QVariant::fromValue(TxtRecord(*announced))},
             [this, attempt, renames](const QDBusMessage &reply) {
                 if (attempt != publications || groupPath.isEmpty())
                     return; // published anew, or withdrawn, since
                 if (reply.type() == QDBusMessage::ReplyMessage)
                     Send(groupPath, kEntryGroup, QStringLiteral("Commit"), {});
                 else if (reply.errorName() == kCollision && renames < kMostRenames)
                     RenameThen(attempt, [this, attempt, renames] { AddService(attempt, renames + 1); });
             });
}

void AvahiDiscovery::RenameThen(quint64 attempt, std::function<void()> then)
{
    CallThen(QStringLiteral("/"), kServer, QStringLiteral("GetAlternativeServiceName"), {publishedName},
             [this, attempt, then = std::move(then)](const QDBusMessage &reply) {
                 if (attempt != publications || groupPath.isEmpty())
                     return;
                 const QString alternative = reply.arguments().value(0).toString();
                 publishedName = alternative.isEmpty() ? publishedName + QStringLiteral(" #2") : alternative;
                 then();
             });
}

void AvahiDiscovery::GroupStateChanged(int state, const QString &)
{
    // Another machine holds the name: it is published under the next one.
    if (state != kGroupCollision || groupPath.isEmpty() || !announced)
        return;
    const quint64 attempt = ++publications;
    RenameThen(attempt, [this, attempt] {
        Send(groupPath, kEntryGroup, QStringLiteral("Reset"), {});
        AddService(attempt, 0);
    });
}

void AvahiDiscovery::FreeGroup()
{
    ++publications;
    if (groupPath.isEmpty())
        return;
    bus.disconnect(kAvahi, groupPath, kEntryGroup, QStringLiteral("StateChanged"), this,
                   SLOT(GroupStateChanged(int, QString)));
    Send(groupPath, kEntryGroup, QStringLiteral("Free"), {});
    groupPath.clear();
    publishedName.clear();
}

void AvahiDiscovery::Withdraw()
{
    announced.reset();
    FreeGroup();
}

void AvahiDiscovery::StartFinding()
{
    finding = true;
    if (!available)
        return;
    Browse();
    // Asked anew each time the list opens: what the daemon refused before, it may take now.
    for (Item &item : items)
        item.held = false;
    ResolveWaiting();
}

void AvahiDiscovery::Browse()
{
    if (!browserPath.isEmpty() || browserAsked)
        return;
    browserAsked = true;
    CallThen(QStringLiteral("/"), kServer, QStringLiteral("ServiceBrowserNew"),
             {kAnyInterface, kIPv4, ServiceType(), QString(), 0u}, [this](const QDBusMessage &reply) {
                 browserAsked = false;
                 if (reply.type() == QDBusMessage::ReplyMessage)
                     browserPath = ObjectPathOf(reply);
             });
}

void AvahiDiscovery::ItemNew(int interface, int protocol, const QString &name, const QString &type,
                             const QString &domain, uint)
{
    const ItemKey key{interface, name};
    if (!finding || type != ServiceType() || items.contains(key))
        return;
    if (items.size() >= kMostHosts) {
        const auto oldest = std::min_element(items.begin(), items.end(),
                                             [](const Item &a, const Item &b) { return a.order < b.order; });
        Forget(oldest);
    }
    Item item;
    item.order = ++itemsTold;
    item.protocol = protocol;
    item.domain = domain;
    items.insert(key, item);
    ResolveWaiting();
}

void AvahiDiscovery::ResolveWaiting()
{
    while (resolversAsked < kMostResolversAsked) {
        auto newest = items.end();
        for (auto item = items.begin(); item != items.end(); ++item) {
            if (!item->resolving && !item->held && (newest == items.end() || item->order > newest->order))
                newest = item;
        }
        if (newest == items.end())
            return;
        Resolve(newest.key(), *newest);
    }
}

void AvahiDiscovery::Resolve(const ItemKey &key, Item &item)
{
    item.resolving = true;
    ++resolversAsked;
    CallThen(QStringLiteral("/"), kServer, QStringLiteral("ServiceResolverNew"),
             {key.first, item.protocol, key.second, ServiceType(), item.domain, kIPv4, 0u},
             [this, key, order = item.order](const QDBusMessage &reply) {
                 --resolversAsked;
                 Resolved(key, order, reply);
             });
}

void AvahiDiscovery::Resolved(const ItemKey &key, quint64 order, const QDBusMessage &reply)
{
    const auto item = items.find(key);
    const bool stillWanted = item != items.end() && item->order == order;
    if (reply.type() == QDBusMessage::ReplyMessage) {
        if (stillWanted)
            item->resolverPath = ObjectPathOf(reply);
        else
            FreeResolver(ObjectPathOf(reply));
    } else if (stillWanted) {
        item->resolving = false;
        item->held = true;
    }
    ResolveWaiting();
}

void AvahiDiscovery::Forget(QMap<ItemKey, Item>::iterator item)
{
    if (!item->resolverPath.isEmpty())
        FreeResolver(item->resolverPath);
    const bool wasShown = item->host.has_value();
    items.erase(item);
    if (wasShown)
        emit Changed();
}

void AvahiDiscovery::FreeResolver(const QString &path)
{
    Send(path, kServiceResolver, QStringLiteral("Free"), {});
    for (Item &item : items)
        item.held = false;
}

void AvahiDiscovery::ItemRemove(int interface, int, const QString &name, const QString &type, const QString &, uint)
{
    const auto found = items.find(ItemKey{interface, name});
    if (type != ServiceType() || found == items.end())
        return;
    Forget(found);
    ResolveWaiting();
}

void AvahiDiscovery::Found(int interface, int, const QString &name, const QString &type, const QString &,
                           const QString &host, int, const QString &address, ushort port, const QList<QByteArray> &txt,
                           uint)
{
    const auto found = items.find(ItemKey{interface, name});
    if (type != ServiceType() || found == items.end())
        return;
    FoundHost seen;
    seen.instance = name;
    seen.nickname = TxtValue(txt, "nick");
    seen.machine = MachineOf(host);
    seen.address = address;
    seen.port = port;
    seen.busy = TxtValue(txt, "busy") == QLatin1String("1");
    seen.securePort = quint16(qBound(0, TxtValue(txt, "secure").toInt(), 65535));
    seen.fingerprint = TxtValue(txt, "fp").left(16);
    found->host = seen;
    emit Changed();
}

QList<FoundHost> AvahiDiscovery::FoundHosts() const
{
    QList<FoundHost> hosts;
    QSet<QString> names;
    for (const Item &item : items) {
        // One entry per service, however many interfaces it is seen on.
        if (item.host && !names.contains(item.host->instance)) {
            names.insert(item.host->instance);
            hosts << *item.host;
        }
    }
    return hosts;
}

void AvahiDiscovery::DaemonAppeared()
{
    available = true;
    if (announced)
        Publish();
    if (finding)
        Browse();
    emit Changed();
}

void AvahiDiscovery::DaemonVanished()
{
    ++daemonsSeen; // what it has not answered yet never will be
    available = false;
    groupAsked = false;
    browserAsked = false;
    resolversAsked = 0;
    groupPath.clear();
    publishedName.clear();
    browserPath.clear();
    items.clear();
    emit Changed();
}
