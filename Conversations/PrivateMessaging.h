#pragma once

#include "PrivateChat.h"
#include "PrivateStore.h"

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

class ChatNotifications;
class ConversationWindow;
class HostIdentity;
class PersonChooser;
class Prompts;
class QAction;
class QListWidgetItem;
class TForm4;
class TfFriends;

// Private messages in the program: the private layer on the main window's
// sessions, a conversation window for each person, the chooser (Chat,
// Private message, Ctrl+M), the Friends window's commands and key marks, and
// the unread count in the main window's title and the tray's tip.
class PrivateMessaging : public QObject {
    Q_OBJECT
public:
    struct Seams {
        TForm4 &main;
        TfFriends &friends;
        Prompts &prompts;
        // This copy's nickname in the chat as it stands.
        std::function<QString()> ownName;
        // Told of each private message that came; may be null.
        ChatNotifications *notifications = nullptr;
    };
    PrivateMessaging(Seams seams, const HostIdentity *identity, const QString &storePath, QObject *parent = nullptr);
    ~PrivateMessaging() override;

    PrivateChat &chat() { return privateChat; }
    PersonChooser &chooser() { return *personChooser; }
    // The conversation with the person of that key, if one was opened or came.
    ConversationWindow *windowFor(const QByteArray &key) const { return windows.value(key); }
    // Opens the conversation with that person, in front.
    ConversationWindow &open(const QByteArray &key, const QString &name);
    // The conversation with that person, made when there is none yet, not shown.
    ConversationWindow &windowOf(const QByteArray &key, const QString &name);
    // The person in the Friends window's line the menu was opened on, if they are in the chat.
    const PrivateChat::Person *personInMenu() const;
    const PrivateChat::Person *personInList(const QListWidgetItem *item) const;
    // Opens the chooser, with the participants as they are now.
    void choose();
    int unreadTotal() const;

    QAction *privateMessage = nullptr;  // in the Chat menu
    QAction *friendsPrivate = nullptr;  // in the Friends window's menu
    QAction *friendsSendFile = nullptr;
    QAction *friendsKey = nullptr;

signals:
    // A private line to keep in the history: written by us, or come from the person.
    void privateLine(const QByteArray &key, const QString &person, const QString &sender, const QString &text);
    // A conversation window was made; it goes with this object.
    void windowMade(ConversationWindow *window);
    // The Friends window's menu is about to open on that person (null: none).
    void menuOpensOn(const PrivateChat::Person *person);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addCommands();
    void peopleChanged();
    void refreshMarks();
    void refreshWindow(ConversationWindow &window);
    QString travelsText(const PrivateChat::Person *person, const QString &name) const;
    void showUnread();
    void showKey(const QListWidgetItem *item);

    Seams seams;
    PrivateStore store;
    PrivateChat privateChat;
    std::unique_ptr<PersonChooser> personChooser;
    QHash<QByteArray, ConversationWindow *> windows;
    // The Friends window's row the pop-up menu was opened on.
    int menuRow = -1;
    // The main window's title without the unread mark.
    QString plainTitle;
    bool markingTitle = false;
};
