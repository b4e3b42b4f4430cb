#include "PrivateMessaging.h"

#include "ChatNotifications.h"
#include "ConversationWindow.h"
#include "HostIdentity.h"
#include "PersonChooser.h"
#include "PrivateWiring.h"
#include "Prompts.h"
#include "TForm4.h"
#include "TTCPServer.h"
#include "TTrayIcon.h"
#include "TfFriends.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>

#include <optional>

namespace {

// A small round mark beside a name: green for a key known before, amber for
// a new one, hollow grey for none.
QIcon KeyIcon(PrivateChat::KeyMark mark)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (mark) {
    case PrivateChat::KeyMark::Known:
        painter.setBrush(QColor(0x2e, 0xa0, 0x43));
        painter.setPen(Qt::NoPen);
        break;
    case PrivateChat::KeyMark::New:
        painter.setBrush(QColor(0xe0, 0xa0, 0x00));
        painter.setPen(Qt::NoPen);
        break;
    case PrivateChat::KeyMark::None:
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.5));
        break;
    }
    painter.drawEllipse(QRectF(2, 2, 8, 8));
    return QIcon(pixmap);
}

QString ShortKey(const QByteArray &key)
{
    return FingerprintText(key).left(19) + QStringLiteral(" …");
}

} // namespace

PrivateMessaging::PrivateMessaging(Seams given, const HostIdentity *identity, const QString &storePath, QObject *parent)
    : QObject(parent), seams(std::move(given)), store(storePath), privateChat(identity, store),
      personChooser(std::make_unique<PersonChooser>(&seams.main))
{
    ConnectPrivateChat(privateChat, seams.main.hostSession());
    ConnectPrivateChat(privateChat, seams.main.guestSession());
    connect(&privateChat, &PrivateChat::arrived, this,
            [this](const QByteArray &key, const QString &name, const QString &, const QString &text) {
                ConversationWindow &window = windowOf(key, name);
                window.showReceived(text, QDateTime::currentDateTime());
                // A conversation comes into sight with its first message, without taking the keyboard.
                if (!window.isVisible()) {
                    window.setAttribute(Qt::WA_ShowWithoutActivating);
                    window.show();
                }
                emit privateLine(key, name, name, text);
                if (!window.isActiveWindow() && seams.notifications)
                    seams.notifications->privateMessage(name, text);
            });
    connect(&privateChat, &PrivateChat::delivered, this, [this](const QByteArray &key, const QString &id) {
        if (ConversationWindow *window = windows.value(key))
            window->markDelivered(id);
    });
    connect(&privateChat, &PrivateChat::keyChanged, this,
            [this](const QString &name, const QByteArray &known, const QByteArray &now) {
                windowOf(now, name).warnKeyChanged(known, now);
            });
    connect(personChooser.get(), &PersonChooser::personChosen, this,
            [this](const QByteArray &key, const QString &name) { open(key, name); });
    addCommands();
    // The list's lines are the main window's; their marks are ours, made again as they change.
    QAbstractItemModel *model = seams.friends.ListBox1->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &PrivateMessaging::refreshMarks, Qt::QueuedConnection);
    connect(model, &QAbstractItemModel::dataChanged, this, &PrivateMessaging::refreshMarks, Qt::QueuedConnection);
    plainTitle = seams.main.windowTitle();
    seams.main.installEventFilter(this);
}

PrivateMessaging::~PrivateMessaging()
{
    qDeleteAll(windows);
}

void PrivateMessaging::addCommands()
{
    privateMessage = new QAction(tr("Private &message..."), &seams.main);
    privateMessage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(privateMessage, &QAction::triggered, this, &PrivateMessaging::choose);
    const QList<QAction *> items = seams.main.chatMenu->actions();
    seams.main.chatMenu->insertAction(items.isEmpty() ? nullptr : items.constFirst(), privateMessage);

    TfFriends &friends = seams.friends;
    friendsPrivate = new QAction(tr("Private message"), &friends);
    friendsSendFile = new QAction(tr("Send file..."), &friends);
    friendsKey = new QAction(tr("Key..."), &friends);
    friends.PopupMenu1->insertActions(friends.Chat1, {friendsPrivate, friendsSendFile, friendsKey});
    friends.PopupMenu1->insertSeparator(friends.Chat1);
    connect(friends.ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        const QListWidgetItem *item = seams.friends.ListBox1->itemAt(at);
        menuRow = item ? seams.friends.ListBox1->row(item) : -1;
        const PrivateChat::Person *person = personInList(item);
        friendsPrivate->setEnabled(person && PrivateChat::whyNot(*person).isEmpty());
        friendsKey->setEnabled(item != nullptr);
        emit menuOpensOn(person);
    });
    connect(friendsPrivate, &QAction::triggered, this, [this] {
        if (const PrivateChat::Person *person = personInList(seams.friends.ListBox1->item(menuRow)))
            open(person->key, person->name);
    });
    connect(friendsKey, &QAction::triggered, this, [this] { showKey(seams.friends.ListBox1->item(menuRow)); });
    connect(friends.ListBox1, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const PrivateChat::Person *person = personInList(item);
        if (person && PrivateChat::whyNot(*person).isEmpty())
            open(person->key, person->name);
        else
            choose(); // the chooser says why not
    });
    connect(&privateChat, &PrivateChat::peopleChanged, this, &PrivateMessaging::peopleChanged);
}

const PrivateChat::Person *PrivateMessaging::personInList(const QListWidgetItem *item) const
{
    if (!item)
        return nullptr;
    for (const PrivateChat::Person &person : privateChat.people())
        if (person.name == item->text())
            return &person;
    return nullptr;
}

void PrivateMessaging::showKey(const QListWidgetItem *item)
{
    if (!item)
        return;
    const PrivateChat::Person *person = personInList(item);
    if (!person || person->key.isEmpty()) {
        seams.prompts.ShowMessage(tr("%1 shows no key: %1 chats in the clear.").arg(item->text()));
        return;
    }
    const QString known = privateChat.keyMark(*person) == PrivateChat::KeyMark::Known
                              ? tr("This copy has seen this key under this name before.")
                              : tr("This copy sees this key under this name for the first time.");
    seams.prompts.ShowMessage(tr("%1's key:\n\n%2\n\n%3 Compare it with the one %1's Secure chat dialog shows.")
                                  .arg(person->name, FingerprintText(person->key), known));
}

void PrivateMessaging::peopleChanged()
{
    refreshMarks();
    for (ConversationWindow *window : std::as_const(windows))
        refreshWindow(*window);
}

void PrivateMessaging::refreshMarks()
{
    QListWidget &list = *seams.friends.ListBox1;
    for (int row = 0; row < list.count(); ++row) {
        QListWidgetItem *item = list.item(row);
        const PrivateChat::Person *person = personInList(item);
        QString tip;
        std::optional<PrivateChat::KeyMark> mark;
        if (person) {
            mark = privateChat.keyMark(*person);
            switch (*mark) {
            case PrivateChat::KeyMark::None:
                tip = tr("No key: chats in the clear");
                break;
            case PrivateChat::KeyMark::Known:
                tip = tr("Known key %1").arg(FingerprintText(person->key));
                break;
            case PrivateChat::KeyMark::New:
                tip = tr("New key %1").arg(FingerprintText(person->key));
                break;
            }
        }
        // A change to the item is a change to the list, which brings this here
        // again: only what differs is set.
        if (item->toolTip() == tip)
            continue;
        item->setIcon(mark ? KeyIcon(*mark) : QIcon());
        item->setToolTip(tip);
    }
}

QString PrivateMessaging::travelsText(const PrivateChat::Person *person, const QString &name) const
{
    if (!person)
        return tr("%1 is not in the chat: what you write waits, and goes when %1 is back.").arg(name);
    if (const QString why = PrivateChat::whyNot(*person); !why.isEmpty())
        return why;
    const bool hosting = seams.main.TCPServer1->State() == wsListening;
    if (person->direct && !hosting)
        return tr("End to end: only %1's copy, the host's, can read this. %1's key %2").arg(name, ShortKey(person->key));
    if (person->direct)
        return tr("End to end: only %1's copy can read this, over your own secure link. %1's key %2")
            .arg(name, ShortKey(person->key));
    return tr("End to end: only %1's copy can read this; the host passes it on sealed. %1's key %2")
        .arg(name, ShortKey(person->key));
}

void PrivateMessaging::refreshWindow(ConversationWindow &window)
{
    const PrivateChat::Person *person = privateChat.personWithKey(window.key());
    if (person && person->name != window.name())
        window.rename(person->name);
    window.setTravels(travelsText(person, window.name()), !person || PrivateChat::whyNot(*person).isEmpty());
}

ConversationWindow &PrivateMessaging::windowOf(const QByteArray &key, const QString &name)
{
    if (ConversationWindow *window = windows.value(key))
        return *window;
    auto *window = new ConversationWindow(name, key, seams.ownName());
    window->setWindowIcon(seams.main.windowIcon());
    windows.insert(key, window);
    for (const PrivateStore::Waiting &message : privateChat.waitingFor(key))
        window->showWritten(message.id, message.text, message.written);
    connect(window, &ConversationWindow::written, this, [this, window](const QString &text) {
        const QString id = privateChat.send(window->key(), window->name(), text);
        window->showWritten(id, text, QDateTime::currentDateTime());
        emit privateLine(window->key(), window->name(), seams.ownName(), text);
    });
    connect(window, &ConversationWindow::unreadChanged, this, &PrivateMessaging::showUnread);
    refreshWindow(*window);
    emit windowMade(window);
    return *window;
}

const PrivateChat::Person *PrivateMessaging::personInMenu() const
{
    return personInList(seams.friends.ListBox1->item(menuRow));
}

ConversationWindow &PrivateMessaging::open(const QByteArray &key, const QString &name)
{
    ConversationWindow &window = windowOf(key, name);
    window.bringForward();
    return window;
}

void PrivateMessaging::choose()
{
    QList<PersonChooser::Choice> choices;
    for (const PrivateChat::Person &person : privateChat.people())
        choices << PersonChooser::Choice{person.name, person.key, PrivateChat::whyNot(person)};
    personChooser->present(choices);
}

int PrivateMessaging::unreadTotal() const
{
    int total = 0;
    for (const ConversationWindow *window : windows)
        total += window->unread();
    return total;
}

void PrivateMessaging::showUnread()
{
    const int unread = unreadTotal();
    seams.main.TrayIcon1->setTipNote(unread > 0 ? tr("%n unread private message(s)", nullptr, unread) : QString());
    markingTitle = true;
    seams.main.setWindowTitle(unread > 0 ? QStringLiteral("(%1) %2").arg(unread).arg(plainTitle) : plainTitle);
    markingTitle = false;
}

bool PrivateMessaging::eventFilter(QObject *watched, QEvent *event)
{
    // The modes set the title; the unread mark goes in front of whatever they set.
    if (watched == &seams.main && event->type() == QEvent::WindowTitleChange && !markingTitle) {
        plainTitle = seams.main.windowTitle();
        if (unreadTotal() > 0)
            QMetaObject::invokeMethod(this, &PrivateMessaging::showUnread, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
