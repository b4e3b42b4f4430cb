#pragma once

#include "ChatText.h"

#include <QByteArray>
#include <QList>
#include <QObject>

class Notifier;
class QAction;
class TForm4;

// What the chat tells the desktop while the user is not looking at the main
// window: guests' lines, arrivals and departures, and the end of the link to
// the host. It listens to the main window's signals and owns all the feature
// needs: the "&Notify" switch (kept in the user's preferences, never in a
// setup file), the filter of the guest's own lines coming back from the host,
// and the one request for attention until the user looks again.
class ChatNotifications : public QObject {
    Q_OBJECT
public:
    ChatNotifications(TForm4 &main, Notifier &notifier);
    ~ChatNotifications() override;

    // In the main window's Coupon menu.
    QAction *notifySwitch = nullptr;

    // The main window's signals.
    void textShown(const ShownText &shown);
    void ownLineSent(const QByteArray &line);
    void guestAdmitted(const QString &address);
    void hostLinkEnded(const QString &reason);
    // A private message came from that person.
    void privateMessage(const QString &from, const QString &text);
    // Files were offered, or a transfer ended: the text says which.
    void fileNews(const QString &text) { tell(text); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The main window is shown, not minimised, and active.
    bool userIsLooking() const;
    // Tells the news on the desktop, unless the switch is off or the user is looking.
    void tell(const QString &news);
    void show(const QString &shown);
    void alert();
    // Once busy ends: what waited, in one notification.
    void tellWhatWasHeld();
    bool isOwnLineBack(const QByteArray &text);

    TForm4 &main;
    Notifier &notifier;
    // The guest's own lines, which come back from the host and are no news.
    QList<QByteArray> ownLines;
    // The window has asked for attention since the user last looked.
    bool alerted = false;
    // News that came while the user was busy, and the last of it.
    int heldWhileBusy = 0;
    QString lastHeld;
};
