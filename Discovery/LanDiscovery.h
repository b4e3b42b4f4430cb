#pragma once

#include <QList>
#include <QObject>
#include <QString>

// A host that announces its chat on the local network.
struct FoundHost {
    QString instance; // the announcement's name, unique on the network
    QString nickname;
    QString machine;
    QString address;
    quint16 port = 0;
    bool busy = false;
    quint16 securePort = 0; // 0: no secure chat offered
    QString fingerprint; // the start of the host key's, in hex
};

// What a listening host tells the network about itself.
struct HostAnnouncement {
    QString nickname;
    quint16 port = 0;
    bool busy = false;
    quint16 securePort = 0; // 0: no secure chat offered
    QString fingerprint; // the start of the host key's, in hex
};

// Hosts announce themselves on the local network and guests find them. The
// chat only ever sees this: where discovery is not available, it is simply
// absent, and nothing is reported as an error.
class LanDiscovery : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool IsAvailable() const = 0;
    // Announces the host, or brings its announcement up to date.
    virtual void Announce(const HostAnnouncement &announcement) = 0;
    virtual void Withdraw() = 0;
    // From now on, FoundHosts() follows the hosts that come and go.
    virtual void StartFinding() = 0;
    virtual QList<FoundHost> FoundHosts() const = 0;

signals:
    // The found hosts, or the availability, changed.
    void Changed();
};

// Discovery where there is none to be had: nothing is announced or found.
class AbsentDiscovery final : public LanDiscovery {
public:
    bool IsAvailable() const override { return false; }
    void Announce(const HostAnnouncement &) override { }
    void Withdraw() override { }
    void StartFinding() override { }
    QList<FoundHost> FoundHosts() const override { return {}; }
};
