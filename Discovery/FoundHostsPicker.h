#pragma once

#include <QMenu>

class LanDiscovery;
class QAction;
class QLineEdit;
struct FoundHost;

// The entry of a found host as the list shows it: its address and port first,
// then who announced it, with every control character (and U+2028, U+2029)
// a blank and the nickname and machine cut to 40 characters each, so that no
// announcement can hide or fake the address that a pick fills in.
QString FoundHostEntry(const FoundHost &host);
// Whether a found host is offered at all: not at 0.0.0.0, a multicast or the
// broadcast address, nor on port 0, and at a loopback address only when it is
// this machine's own.
bool IsOfferable(const FoundHost &host, const QString &thisMachine);

// The list of the hosts found on the network, dropped down from a host
// field: the arrow in the field (or Alt+Down there) opens it, and picking a
// host hands its address and port on. Finding starts as the field's window
// is shown, so that the hosts are known by the time the list opens; the open
// list follows the hosts as they come and go.
class FoundHostsPicker : public QMenu {
    Q_OBJECT
public:
    FoundHostsPicker(QLineEdit &hostField, LanDiscovery &discovery);

    // The arrow in the host field.
    QAction *findHosts = nullptr;

    // Opens the list under the host field.
    void ShowFoundHosts();

signals:
    void picked(const QString &address, quint16 port);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Fill();

    QLineEdit &hostField;
    LanDiscovery &discovery;
};
