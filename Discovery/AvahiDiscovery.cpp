#include "AvahiDiscovery.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QSysInfo>

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
// A daemon that does not answer within this holds nothing up for longer.
constexpr int kCallTimeoutMs = 1000;
constexpr int kMostRenames = 10;

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
    return {"nick=" + announcement.nickname.toUtf8(), announcement.busy ? "busy=1" : "busy=0"};
}

QDBusMessage AvahiDiscovery::Call(const QString &path, const QString &interface, const QString &method,
                                  const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kAvahi, path, interface, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kCallTimeoutMs);
}

void AvahiDiscovery::Announce(const HostAnnouncement &announcement)
{
    const bool sameService = announced && announced->nickname == announcement.nickname
                             && announced->port == announcement.port && !groupPath.isEmpty();
    announced = announcement;
    if (!available)
        return; // published when the daemon appears
    if (!sameService) {
        Publish();
        return;
    }
    Call(groupPath, kEntryGroup, QStringLiteral("UpdateServiceTxt"),
         {kAnyInterface, kAnyProtocol, 0u, publishedName, ServiceType(), QString(),
          QVariant::fromValue(TxtRecord(announcement))});
}

void AvahiDiscovery::Publish()
{
    if (groupPath.isEmpty()) {
        const QDBusMessage reply = Call(QStringLiteral("/"), kServer, QStringLiteral("EntryGroupNew"), {});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return;
        groupPath = ObjectPathOf(reply);
        bus.connect(kAvahi, groupPath, kEntryGroup, QStringLiteral("StateChanged"), this,
                    SLOT(GroupStateChanged(int, QString)));
    } else {
        Call(groupPath, kEntryGroup, QStringLiteral("Reset"), {});
    }
    publishedName = InstanceName(announced->nickname, QSysInfo::machineHostName());
    AddService();
}

void AvahiDiscovery::AddService()
{
    for (int attempt = 0; attempt < kMostRenames; ++attempt) {
        const QDBusMessage reply = Call(groupPath, kEntryGroup, QStringLiteral("AddService"),
                                        {kAnyInterface, kAnyProtocol, 0u, publishedName, ServiceType(), QString(),
                                         QString(), QVariant::fromValue(ushort(announced->port)),
                                         QVariant::fromValue(TxtRecord(*announced))});
        if (reply.type() == QDBusMessage::ReplyMessage)
            break;
        if (reply.errorName() != kCollision)
            return;
        publishedName = AlternativeName();
    }
    Call(groupPath, kEntryGroup, QStringLiteral("Commit"), {});
}

QString AvahiDiscovery::AlternativeName()
{
    const QDBusMessage reply = Call(QStringLiteral("/"), kServer, QStringLiteral("GetAlternativeServiceName"),
                                    {publishedName});
    const QString alternative = reply.arguments().value(0).toString();
    return alternative.isEmpty() ? publishedName + QStringLiteral(" #2") : alternative;
}

void AvahiDiscovery::GroupStateChanged(int state, const QString &)
{
    // Another machine holds the name: it is published under the next one.
    if (state != kGroupCollision || groupPath.isEmpty() || !announced)
        return;
    publishedName = AlternativeName();
    Call(groupPath, kEntryGroup, QStringLiteral("Reset"), {});
    AddService();
}

void AvahiDiscovery::FreeGroup()
{
    if (groupPath.isEmpty())
        return;
    bus.disconnect(kAvahi, groupPath, kEntryGroup, QStringLiteral("StateChanged"), this,
                   SLOT(GroupStateChanged(int, QString)));
    Call(groupPath, kEntryGroup, QStringLiteral("Free"), {});
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
    if (available && browserPath.isEmpty())
        Browse();
}

void AvahiDiscovery::Browse()
{
    const QDBusMessage reply = Call(QStringLiteral("/"), kServer, QStringLiteral("ServiceBrowserNew"),
                                    {kAnyInterface, kIPv4, ServiceType(), QString(), 0u});
    if (reply.type() == QDBusMessage::ReplyMessage)
        browserPath = ObjectPathOf(reply);
}

void AvahiDiscovery::ItemNew(int interface, int protocol, const QString &name, const QString &type,
                             const QString &domain, uint)
{
    const ItemKey key{interface, name};
    if (!finding || type != ServiceType() || items.contains(key))
        return;
    const QDBusMessage reply = Call(QStringLiteral("/"), kServer, QStringLiteral("ServiceResolverNew"),
                                    {interface, protocol, name, type, domain, kIPv4, 0u});
    if (reply.type() == QDBusMessage::ReplyMessage)
        items.insert(key, Item{ObjectPathOf(reply), std::nullopt});
}

void AvahiDiscovery::ItemRemove(int interface, int, const QString &name, const QString &type, const QString &, uint)
{
    const auto found = items.find(ItemKey{interface, name});
    if (type != ServiceType() || found == items.end())
        return;
    Call(found->resolverPath, kServiceResolver, QStringLiteral("Free"), {});
    items.erase(found);
    emit Changed();
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
    found->host = seen;
    emit Changed();
}

QList<FoundHost> AvahiDiscovery::FoundHosts() const
{
    QList<FoundHost> hosts;
    QStringList names;
    for (const Item &item : items) {
        // One entry per service, however many interfaces it is seen on.
        if (item.host && !names.contains(item.host->instance)) {
            names << item.host->instance;
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
    available = false;
    groupPath.clear();
    publishedName.clear();
    browserPath.clear();
    items.clear();
    emit Changed();
}
