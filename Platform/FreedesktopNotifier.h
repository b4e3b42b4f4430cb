#pragma once

#include "Notifier.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QDBusMessage;

// Notifications through the freedesktop notification service on the session
// bus (org.freedesktop.Notifications). A burst updates one notification in
// place (replaces_id), at most a few times a second, so that a flood of lines
// costs no bus call each; the body is plain text, escaped when the server
// reads markup; the default action raises the main window and closes the
// notification. No call waits for the server: each is answered on the event
// loop, or given up after a second, so a hung server never stalls a window.
class FreedesktopNotifier final : public QObject, public Notifier {
    Q_OBJECT
public:
    // iconName and desktopEntry: the application id. Talks to the server on
    // `bus`; by default the session bus.
    FreedesktopNotifier(const QString &applicationName, const QString &iconName,
                        QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    bool Tell(const QString &news) override;
    void Forget() override;

    // The newest lines a notification shows.
    static constexpr int kLinesShown = 3;
    // News is shown this long after it came, with whatever came meanwhile.
    static constexpr int kGatherMs = 200;
    // Whether a service is there is asked again after this long.
    static constexpr qint64 kServiceCheckMs = 5000;
    // A call the server has not answered by then is given up.
    static constexpr int kCallTimeoutMs = 1000;

private slots:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);

private:
    // Asks the server what it can do, which tells whether one is there; again
    // only once kServiceCheckMs have passed since the last time.
    void AskForService();
    void Show();
    void Shown(const QDBusMessage &reply);
    QString Body() const;
    void CallThen(QDBusMessage call, std::function<void(const QDBusMessage &)> then);

    QDBusConnection bus;
    QString applicationName;
    QString iconName;
    bool serviceThere = false; // it answered what it can do
    bool bodyMarkup = false;
    QElapsedTimer serviceAsked;
    QTimer gather;
    bool showing = false;    // a Notify call is out
    bool showAgain = false;  // news came while it was
    bool forgotten = false;  // the user saw everything while it was
    uint shownId = 0;
    QStringList lines;
    int count = 0;
};
