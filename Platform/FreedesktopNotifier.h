#pragma once

#include "Notifier.h"

#include <QObject>
#include <QStringList>

// Notifications through the freedesktop notification service on the session
// bus (org.freedesktop.Notifications). A burst updates one notification in
// place (replaces_id); the body is plain text, escaped when the server reads
// markup; the default action raises the main window and closes the
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

private slots:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);

private:
    bool ServiceThere();
    QString Body() const;

    QString applicationName;
    QString iconName;
    bool capabilitiesAsked = false;
    bool bodyMarkup = false;
    uint shownId = 0;
    QStringList lines;
    int count = 0;
};
