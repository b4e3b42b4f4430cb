#pragma once

#include <QObject>
#include <QPixmap>

class QLabel;
class QStatusBar;
class SecureChat;

// The padlock beside the status text: a lock while the chat is secure, and
// how many guests are ("2 of 3 secure"), with the reason in its tooltip. It
// shows the chat as it is whenever Refresh is called: on every change the
// main window tells of, never by polling.
class Padlock : public QObject {
    Q_OBJECT
public:
    Padlock(const SecureChat &secure, QStatusBar &statusBar);

    static QPixmap pixmap(int height);

public slots:
    void refresh();
    // After the event being handled has run its course: a departure is shown
    // before its connection is closed, and counted once it is.
    void refreshSoon();

private:
    const SecureChat &secure;
    QLabel *lock;
    QLabel *text;
};
