#pragma once

#include "ChatTuning.h"
#include "DesktopSeams.h"
#include "ProgramFolders.h"
#include "ProgramWindows.h"

#include <QIcon>
#include <QString>

#include <memory>

class ChatNotifications;
class FoundHostsPicker;
class HistoryRecorder;
class HistoryStore;
class HistoryWindow;
class HostAnnouncer;
class SecureChat;
class SecureChatDialog;
class QLabel;
class LanDiscovery;
class Notifier;
class FileSharing;
class FileTransfers;
class PrivateMessaging;
class Shell;

// The desktop services behind the features beside the chat: the desktop's
// notifications and the network's announcements. The real program passes the
// freedesktop notification service and Avahi; tests pass their doubles.
struct FeatureSeams {
    Notifier &notifier;
    LanDiscovery &discovery;
    // The chat history's file; none is kept when empty.
    QString historyPath = {};
    // Where secure chat keeps the host's identity and the hosts' pinned keys;
    // no secure chat when empty.
    QString secureFolder = {};
};

// One running program: its five windows, made in the order the program has
// always made them (main window, setup dialog, about box, help box, friends
// window) and kept until it ends, and the features beside the chat, which
// hear what happens in it from the main window's signals. A test may make
// several, each with its own program folder, and let them chat with each
// other in one process.
class VanuProgram {
public:
    VanuProgram(const ProgramFolders &folders, const DesktopSeams &seams, const FeatureSeams &features,
                const ChatTuning &tuning = {});
    // A portable copy: everything in the one folder.
    VanuProgram(const QString &programFolder, const DesktopSeams &seams, const FeatureSeams &features,
                const ChatTuning &tuning = {});
    ~VanuProgram();
    VanuProgram(const VanuProgram &) = delete;
    VanuProgram &operator=(const VanuProgram &) = delete;

    // Shows the main window, the only window shown at start.
    void start();
    // Loads a setup file into the setup dialog, as its Load button would, and
    // shows the dialog for the user to confirm.
    void openSetupFile(const QString &path);

    ProgramWindows windows;
    ChatNotifications &notifications() const { return *chatNotifications; }
    FoundHostsPicker &foundHosts() const { return *hostsPicker; }
    // Null when no history is kept.
    HistoryRecorder *history() const { return historyRecorder.get(); }
    SecureChat *secure() const { return secureChat.get(); }
    SecureChatDialog *secureDialog() const { return secureChatDialog.get(); }
    // Null without secure chat: private messages go only between copies with keys.
    PrivateMessaging *privateMessages() const { return privateMessaging.get(); }
    HistoryWindow *historyView() const { return historyWindow.get(); }
    // Null without secure chat, as private messages.
    FileTransfers *transfers() const { return fileTransfers.get(); }
    FileSharing *files() const { return fileSharing.get(); }
    // Files to send, from outside (vanu --send): the user chooses to whom.
    void sendFiles(const QStringList &paths);

    static QIcon ProgramIcon();

private:
    void createWindows(const ProgramFolders &folders, const DesktopSeams &seams, const ChatTuning &tuning);
    void connectFriends();
    // The features beside the chat, each connected to the signals it needs.
    void connectNotifications(const FeatureSeams &features);
    void connectDiscovery(LanDiscovery &discovery);
    void connectHistory(const QString &path, const CodePage &codePage, const QString &transcripts);
    void connectSecureChat(const QString &folder);
    // Names held by keys, when this copy hosts.
    void holdNamesByKeys();
    // Private messages, whose outbox is kept beside the history (or the keys, without one).
    void connectPrivateMessages(const QString &historyPath, const QString &secureFolder);
    // Files, whose transfers are kept beside the private messages.
    void connectFiles(const QString &folder);

    Prompts &prompts;
    Shell &shell;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm8> form8;
    std::unique_ptr<TAboutBox> aboutBox;
    std::unique_ptr<THelpBox> helpBox;
    std::unique_ptr<TfFriends> friends;
    std::unique_ptr<ChatNotifications> chatNotifications;
    std::unique_ptr<HostAnnouncer> announcer;
    FoundHostsPicker *hostsPicker = nullptr; // owned by the setup dialog's host field
    std::unique_ptr<HistoryStore> historyStore;
    std::unique_ptr<HistoryRecorder> historyRecorder;
    std::unique_ptr<HistoryWindow> historyWindow;
    std::unique_ptr<SecureChat> secureChat;
    std::unique_ptr<PrivateMessaging> privateMessaging;
    std::unique_ptr<FileTransfers> fileTransfers;
    std::unique_ptr<FileSharing> fileSharing;
    std::unique_ptr<SecureChatDialog> secureChatDialog;
    QLabel *historyPaused = nullptr; // in the main window's status bar, while the history is paused
    QLabel *relaying = nullptr;      // in the status bar, while the host relays files
};
