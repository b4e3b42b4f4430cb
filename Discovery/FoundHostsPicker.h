#pragma once

#include "LanDiscovery.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>

class LanDiscovery;
class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

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
// host (a click, or Down and Return) hands its address and port on. Finding
// starts as the field's window is shown, so that the hosts are known by the
// time the list opens. The open list follows the hosts as they come and go,
// at most every 250 ms; it is a list view inside the drop-down, not a menu
// entry per host, so that hundreds of announcements cost little to show.
class FoundHostsPicker : public QMenu {
    Q_OBJECT
public:
    FoundHostsPicker(QLineEdit &hostField, LanDiscovery &discovery);

    // The arrow in the host field.
    QAction *findHosts = nullptr;

    // Opens the list under the host field.
    void ShowFoundHosts();
    // What the list shows: a host to pick per row, or a notice that cannot be picked.
    QListWidget &Entries() const { return *entries; }

signals:
    void picked(const QString &address, quint16 port);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Fill();
    // Fills the open list again, at most every 250 ms however fast hosts come.
    void Refresh();
    void Pick(const QListWidgetItem *entry);

    QLineEdit &hostField;
    LanDiscovery &discovery;
    QListWidget *entries = nullptr;
    QList<FoundHost> shownHosts; // row by row, when the list shows hosts
    QTimer refresh;
    QElapsedTimer sinceFilled;
};
