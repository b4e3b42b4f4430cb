#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QWidget>

class ChatFindBar;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

// One private conversation, with one person, in a window of its own titled
// with their name: the chat view's look, the time on every line, what this
// copy wrote marked as waiting until the other copy has it, an input line,
// and Ctrl+F to find. It counts what came while the user was not looking.
// Files go from here too: Send file (Ctrl+Shift+F) or dropped on the window;
// the cards of offers and transfers with the person show above the input.
class ConversationWindow : public QWidget {
    Q_OBJECT
public:
    ConversationWindow(const QString &name, const QByteArray &key, const QString &ownName, QWidget *parent = nullptr);

    QLabel *Travels = nullptr;
    QLabel *Warning = nullptr;
    QPlainTextEdit *View = nullptr;
    QLineEdit *Input = nullptr;
    ChatFindBar *FindBar = nullptr;
    QPushButton *SendFile = nullptr;

    const QByteArray &key() const { return personKey; }
    const QString &name() const { return personName; }
    void rename(const QString &name);
    // How the conversation travels, or why it cannot; writing is possible or not.
    void setTravels(const QString &text, bool canWrite);
    // The person's key is not the one known before: the user is warned here.
    void warnKeyChanged(const QByteArray &knownKey, const QByteArray &newKey);

    // A message that came from the person.
    void showReceived(const QString &text, const QDateTime &at);
    // A message this copy wrote: waiting until it is delivered.
    void showWritten(const QString &id, const QString &text, const QDateTime &at);
    void markDelivered(const QString &id);
    // An offer's or a transfer's card, above the input; it goes with the window.
    void addCard(QWidget *card);
    // The view's lines, top to bottom.
    QStringList lines() const;

    int unread() const { return unreadCount; }
    // Shows the window in front; what came is read.
    void bringForward();

signals:
    // The user wrote a line to the person.
    void written(const QString &text);
    void unreadChanged();
    void sendFileAsked();
    // Files or folders dropped on the window, for the person.
    void filesDropped(const QStringList &paths);

protected:
    bool event(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void append(const QString &sender, const QString &text, const QDateTime &at, const QString &mark);
    void setUnread(int count);
    void showTitle();

    QVBoxLayout *cards = nullptr;
    QString personName;
    QByteArray personKey;
    QString ownName;
    bool first = true;
    int unreadCount = 0;
    // Where the mark of each written message begins in the document, by id.
    QHash<QString, int> marks;
};
