#pragma once

#include <QObject>
#include <QString>

class HostSession;
class TForm4;
class TTCPServer;
struct ChatTuning;
struct DesktopSeams;
struct ProgramWindows;

// Host mode as the main window shows it: listening on the first free port
// from the setup's, the guests' count, the busy mode and the participant
// list in the friends window. The host's session does the chat; this shows
// what it reports on the window's controls, which the window's handlers of
// host mode hand over to it.
class HostMode : public QObject {
    Q_OBJECT
public:
    HostMode(TForm4 &window, const ProgramWindows &windows, const DesktopSeams &seams, TTCPServer &server,
             const ChatTuning &tuning);

    HostSession &session() const { return *hostSession; }
    // The menu's "I'm Host": leaves guest mode and starts listening.
    void start();
    // One attempt to listen on the port in turn.
    void listen();
    void socketError(int error, const QString &text);
    // Closes the server and its connections; tells of it when it was listening.
    void close();
    void toggleBusy();

private:
    void wireSession();
    // The next attempt to listen follows soon, from the event loop.
    void listenSoon();

    TForm4 &window;
    const ProgramWindows &windows;
    const DesktopSeams &seams;
    TTCPServer &server;
    HostSession *hostSession;
};
