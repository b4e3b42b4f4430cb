#pragma once

#include "LanDiscovery.h"

#include <QDBusConnection>
#include <QMap>
#include <QPair>

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
    struct Item {
        QString resolverPath;
        std::optional<FoundHost> host;
    };

    void Publish();
    void AddService();
    void FreeGroup();
    void Browse();
    // Avahi's next name after a collision: "Anna on pc1 #2".
    QString AlternativeName();
    QDBusMessage Call(const QString &path, const QString &interface, const QString &method,
                      const QVariantList &arguments);

    QDBusConnection bus;
    QDBusServiceWatcher *watcher = nullptr;
    bool available = false;
    bool finding = false;
    std::optional<HostAnnouncement> announced;
    QString groupPath;
    QString publishedName;
    QString browserPath;
    QMap<ItemKey, Item> items;
};
