#pragma once

#include "LanDiscovery.h"

#include <QDBusConnection>
#include <QMap>
#include <QPair>

#include <functional>
#include <optional>

class QDBusServiceWatcher;

// DNS-SD over multicast DNS through the Avahi daemon's D-Bus interface, all
// on Qt's event loop: an entry group publishes the host's service, a service
// browser and one service resolver per service find the others.
class AvahiDiscovery final : public LanDiscovery {
    Q_OBJECT
public:
    static constexpr const char *kServiceType = "_vanu._tcp";

    // Talks to the daemon on `bus`; by default the system bus.
    explicit AvahiDiscovery(QDBusConnection bus = QDBusConnection::systemBus(), QObject *parent = nullptr);
    ~AvahiDiscovery() override;

    bool IsAvailable() const override;
    void Announce(const HostAnnouncement &announcement) override;
    void Withdraw() override;
    void StartFinding() override;
    QList<FoundHost> FoundHosts() const override;

    // The name the service is published under: Avahi's alternative after a collision.
    QString PublishedName() const { return publishedName; }

    // The announcement's name and TXT record.
    static QString InstanceName(const QString &nickname, const QString &machine);
    static QList<QByteArray> TxtRecord(const HostAnnouncement &announcement);

private slots:
    void DaemonAppeared();
    void DaemonVanished();
    void GroupStateChanged(int state, const QString &error);
    void ItemNew(int interface, int protocol, const QString &name, const QString &type, const QString &domain,
                 uint flags);
    void ItemRemove(int interface, int protocol, const QString &name, const QString &type, const QString &domain,
                    uint flags);
    void Found(int interface, int protocol, const QString &name, const QString &type, const QString &domain,
               const QString &host, int addressProtocol, const QString &address, ushort port,
               const QList<QByteArray> &txt, uint flags);

private:
    using ItemKey = QPair<int, QString>; // network interface and instance name
    // A service the browser told of. Its resolver is made asynchronously,
    // a few at a time, the newest service first.
    struct Item {
        quint64 order = 0; // when it was told of: the newest are kept
        int protocol = 0;
        QString domain;
        QString resolverPath; // set once the daemon made its resolver
        bool resolving = false; // the resolver is asked for, or made
        bool held = false; // the daemon refused a resolver: asked again when one is freed, or the list opens
        std::optional<FoundHost> host;
    };

    void Publish();
    void AddService(quint64 attempt, int renames);
    // Avahi's next name after a collision ("Anna on pc1 #2"), then `then`.
    void RenameThen(quint64 attempt, std::function<void()> then);
    void FreeGroup();
    void Browse();
    // Every call to the daemon is answered on the event loop, never waited for.
    void CallThen(const QString &path, const QString &interface, const QString &method, const QVariantList &arguments,
                  std::function<void(const QDBusMessage &)> then);
    // Tells the daemon without waiting for its answer.
    void Send(const QString &path, const QString &interface, const QString &method, const QVariantList &arguments);
    void ResolveWaiting();
    void Resolve(const ItemKey &key, Item &item);
    void Resolved(const ItemKey &key, quint64 order, const QDBusMessage &reply);
    // Drops a service and frees its resolver, which lets a held one be resolved.
    void Forget(QMap<ItemKey, Item>::iterator item);
    void FreeResolver(const QString &path);

    QDBusConnection bus;
    QDBusServiceWatcher *watcher = nullptr;
    bool available = false;
    quint64 daemonsSeen = 0; // counts the daemons that went away
    bool finding = false;
    std::optional<HostAnnouncement> announced;
    quint64 publications = 0; // an answer to an older one is not acted on
    bool groupAsked = false;
    QString groupPath;
    QString publishedName;
    bool browserAsked = false;
    QString browserPath;
    QMap<ItemKey, Item> items;
    quint64 itemsTold = 0;
    int resolversAsked = 0; // calls for a resolver not answered yet
};
