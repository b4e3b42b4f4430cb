#pragma once

#include <QObject>
#include <QString>

class GuestSession;
class TForm4;
class TTCPClient;
struct DesktopSeams;
struct ProgramWindows;

// Guest mode as the main window shows it: joining the host in the setup,
// walking the ports until one answers, connecting again after a lost link,
// and offering another name when ours is taken. The guest's session does the
// chat; this shows what it reports on the window's controls, which the
// window's handlers of guest mode hand over to it.
class GuestMode : public QObject {
    Q_OBJECT
public:
    GuestMode(TForm4 &window, const ProgramWindows &windows, const DesktopSeams &seams, TTCPClient &client);

    GuestSession &session() const { return *guestSession; }
    // The menu's "I'm Guest": joins with the setup's own nickname.
    void join();
    void connectToHost();
    void socketError(int error, const QString &text);
    void connected();
    void registerName();
    void closed();
    // A connection attempt is under way, or the next is due.
    bool attemptUnderWay() const;
    // No more attempts: nothing due, no registration waiting.
    void stopAttempts();

private:
    void wireSession();
    // Joins the host in the setup with the chat's nickname.
    void joinHost();
    // After a lost link: the next attempt to connect again, a little later each time.
    void scheduleReconnect();
    void reconnectToHost();
    // The host refused the name as taken: offers the same name with a number added.
    void offerAnotherName();
    QString tryingStatus() const;

    TForm4 &window;
    const ProgramWindows &windows;
    const DesktopSeams &seams;
    TTCPClient &client;
    GuestSession *guestSession;
};
