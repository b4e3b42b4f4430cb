#pragma once

#include "Notifier.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Notifications through the freedesktop notification service on the session
// bus (org.freedesktop.Notifications). A burst updates one notification in
// place (replaces_id), at most a few times a second, so that a flood of lines
// costs no bus call each; the body is plain text, escaped when the server
// reads markup; the default action raises the main window and closes the
// notification.
class FreedesktopNotifier final : public QObject, public Notifier {
    Q_OBJECT
public:
    // iconName and desktopEntry: the application id.
    FreedesktopNotifier(const QString &applicationName, const QString &iconName, QObject *parent = nullptr);

    bool Tell(const QString &news) override;
    void Forget() override;

    // The newest lines a notification shows.
    static constexpr int kLinesShown = 3;
    // News is shown this long after it came, with whatever came meanwhile.
    static constexpr int kGatherMs = 200;
    // Whether a service is there is asked again after this long.
    static constexpr qint64 kServiceCheckMs = 5000;

private slots:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);

private:
    bool ServiceThere();
    void Show();
    QString Body() const;

    QString applicationName;
    QString iconName;
    bool capabilitiesAsked = false;
    bool bodyMarkup = false;
    bool serviceThere = false;
    QElapsedTimer serviceChecked;
    QTimer gather;
    uint shownId = 0;
    QStringList lines;
    int count = 0;
};
