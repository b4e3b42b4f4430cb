#pragma once

#include "TransferCard.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class ChatNotifications;
class ConversationWindow;
class FileTransfers;
class PersonChooser;
class PrivateMessaging;
class Prompts;
class QAction;
class Shell;
class TForm4;
class TfFriends;
class TransfersWindow;

// Files in the program: Chat, Send file (Ctrl+Shift+F) and Transfers
// (Ctrl+J); Send file in the Friends window's menu and in each
// conversation; files dropped on a name or a conversation; the cards of
// offers and transfers in the conversations; the Transfers window; the
// notifications and the history's lines of each transfer.
class FileSharing : public QObject {
    Q_OBJECT
public:
    struct Seams {
        TForm4 &main;
        TfFriends &friends;
        Prompts &prompts;
        Shell &shell;
        ChatNotifications *notifications = nullptr; // may be null
    };
    FileSharing(Seams seams, PrivateMessaging &messaging, FileTransfers &transfers, QObject *parent = nullptr);
    ~FileSharing() override;

    // Files to send, from outside: the user chooses to whom.
    void sendFiles(const QStringList &paths);
    // The chooser, for whom to send to.
    PersonChooser &chooser() { return *personChooser; }
    TransfersWindow &transfersWindow() { return *window; }
    TransferCard *cardOf(const QString &id) const { return cards.value(id); }
    // The user's Downloads folder (XDG_DOWNLOAD_DIR), or home without one.
    static QString downloadsFolder();
    // The people whose offers are accepted without asking, by key, in the user's preferences.
    static bool acceptsAlwaysFrom(const QByteArray &key);
    static void setAcceptAlways(const QByteArray &key, bool always);

    QAction *sendFile = nullptr;  // in the Chat menu
    QAction *showTransfers = nullptr;

signals:
    // A line for the history about a transfer with that person.
    void transferLine(const QByteArray &key, const QString &person, const QString &sender, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addCommands();
    void choosePerson(const QStringList &paths);
    void sendTo(const QByteArray &key, const QString &name, QStringList paths);
    void windowMade(ConversationWindow *conversation);
    void showCard(const QString &id);
    void act(TransferAction action, const QString &id);
    void offersCame(const QByteArray &key, const QString &name, int offers, int files, qint64 bytes);
    void ended(const QString &id);
    bool canTakeFiles(const QByteArray &key) const;
    void refreshSendButtons();

    Seams seams;
    PrivateMessaging &messaging;
    FileTransfers &transfers;
    std::unique_ptr<PersonChooser> personChooser;
    std::unique_ptr<TransfersWindow> window;
    QHash<QString, QPointer<TransferCard>> cards;
    // What waits for the person to be chosen.
    QStringList pathsToSend;
};
