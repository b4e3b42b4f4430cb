#pragma once

#include <QMenu>

class LanDiscovery;
class QAction;
class QLineEdit;
struct FoundHost;

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
