#include "FileSharing.h"

#include "ChatNotifications.h"
#include "ConversationWindow.h"
#include "FileOffer.h"
#include "FileTransfers.h"
#include "PersonChooser.h"
#include "PrivateMessaging.h"
#include "Prompts.h"
#include "Shell.h"
#include "TForm4.h"
#include "TfFriends.h"
#include "TransfersWindow.h"
#include "UserPreferences.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString kAlwaysAccept = QStringLiteral("files/alwaysAcceptFrom");

QStringList LocalPaths(const QMimeData &data)
{
    QStringList paths;
    for (const QUrl &url : data.urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

} // namespace

FileSharing::FileSharing(Seams given, PrivateMessaging &messaging, FileTransfers &transfers, QObject *parent)
    : QObject(parent), seams(std::move(given)), messaging(messaging), transfers(transfers),
      personChooser(std::make_unique<PersonChooser>(&seams.main)),
      window(std::make_unique<TransfersWindow>(transfers))
{
    personChooser->setWindowTitle(tr("Send files"));
    window->setWindowIcon(seams.main.windowIcon());
    addCommands();
    connect(personChooser.get(), &PersonChooser::personChosen, this,
            [this](const QByteArray &key, const QString &name) { sendTo(key, name, std::exchange(pathsToSend, {})); });
    connect(&messaging, &PrivateMessaging::windowMade, this, &FileSharing::windowMade);
    connect(&messaging.chat(), &PrivateChat::peopleChanged, this, &FileSharing::refreshSendButtons);
    connect(&transfers, &FileTransfers::added, this, &FileSharing::showCard);
    connect(&transfers, &FileTransfers::changed, this, &FileSharing::showCard);
    connect(&transfers, &FileTransfers::offersCame, this, &FileSharing::offersCame);
    connect(&transfers, &FileTransfers::ended, this, &FileSharing::ended);
    connect(&transfers, &FileTransfers::notOffered, this, [this](const QString &why) { seams.prompts.ShowError(why); });
    connect(window.get(), &TransfersWindow::asked, this, &FileSharing::act);
    transfers.acceptWithoutAsking(
        [](const QByteArray &key) { return acceptsAlwaysFrom(key) ? downloadsFolder() : QString(); });
    for (const QString &id : transfers.ids())
        showCard(id);
}

QString FileSharing::downloadsFolder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return downloads.isEmpty() ? QDir::homePath() : downloads;
}

bool FileSharing::acceptsAlwaysFrom(const QByteArray &key)
{
    return !key.isEmpty() && UserPreferences().value(kAlwaysAccept).toStringList().contains(QString::fromLatin1(key.toHex()));
}

void FileSharing::setAcceptAlways(const QByteArray &key, bool always)
{
    QSettings preferences = UserPreferences();
    QStringList keys = preferences.value(kAlwaysAccept).toStringList();
    keys.removeAll(QString::fromLatin1(key.toHex()));
    if (always)
        keys << QString::fromLatin1(key.toHex());
    preferences.setValue(kAlwaysAccept, keys);
}

FileSharing::~FileSharing() = default;

void FileSharing::addCommands()
{
    sendFile = new QAction(tr("Send &file..."), &seams.main);
    sendFile->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    connect(sendFile, &QAction::triggered, this, [this] { choosePerson({}); });
    showTransfers = new QAction(tr("Trans&fers"), &seams.main);
    showTransfers->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    connect(showTransfers, &QAction::triggered, window.get(), &TransfersWindow::bringForward);
    // After Private message, at the top of the Chat menu.
    const QList<QAction *> items = seams.main.chatMenu->actions();
    const qsizetype after = items.indexOf(messaging.privateMessage) + 1;
    QAction *before = after > 0 && after < items.size() ? items[after] : nullptr;
    seams.main.chatMenu->insertActions(before, {sendFile, showTransfers});

    connect(&messaging, &PrivateMessaging::menuOpensOn, this, [this](const PrivateChat::Person *person) {
        messaging.friendsSendFile->setEnabled(person && PrivateChat::whyNoFiles(*person).isEmpty());
    });
    connect(messaging.friendsSendFile, &QAction::triggered, this, [this] {
        if (const PrivateChat::Person *person = messaging.personInMenu())
            sendTo(person->key, person->name, {});
    });
    // Files dropped on a name go to that person.
    QWidget *names = seams.friends.ListBox1->viewport();
    names->setAcceptDrops(true);
    names->installEventFilter(this);
}

bool FileSharing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != seams.friends.ListBox1->viewport())
        return false;
    const auto personAt = [this](const QPointF &at) {
        return messaging.personInList(seams.friends.ListBox1->itemAt(at.toPoint()));
    };
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto *drag = static_cast<QDropEvent *>(event);
        const PrivateChat::Person *person = personAt(drag->position());
        if (drag->mimeData()->hasUrls() && person && PrivateChat::whyNoFiles(*person).isEmpty())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        const PrivateChat::Person *person = personAt(drop->position());
        const QStringList paths = LocalPaths(*drop->mimeData());
        if (person && !paths.isEmpty()) {
            drop->acceptProposedAction();
            sendTo(person->key, person->name, paths);
        }
        return true;
    }
    return false;
}

void FileSharing::sendFiles(const QStringList &paths)
{
    choosePerson(paths);
}

void FileSharing::choosePerson(const QStringList &paths)
{
    pathsToSend = paths;
    QList<PersonChooser::Choice> choices;
    for (const PrivateChat::Person &person : messaging.chat().people())
        choices << PersonChooser::Choice{person.name, person.key, PrivateChat::whyNoFiles(person)};
    personChooser->present(choices);
}

void FileSharing::sendTo(const QByteArray &key, const QString &name, QStringList paths)
{
    if (paths.isEmpty()) {
        FileDialogRequest request;
        request.title = tr("Send files to %1").arg(name);
        request.folder = QDir::homePath();
        request.filter = tr("All files (*)|*");
        paths = seams.prompts.OpenFileNames(request);
        if (paths.isEmpty())
            return;
    }
    if (!canTakeFiles(key)) {
        seams.prompts.ShowError(tr("%1 is not in the chat, or cannot take files.").arg(name));
        return;
    }
    transfers.send(key, name, paths);
}

bool FileSharing::canTakeFiles(const QByteArray &key) const
{
    const PrivateChat::Person *person = messaging.chat().personWithKey(key);
    return person && PrivateChat::whyNoFiles(*person).isEmpty();
}

void FileSharing::refreshSendButtons()
{
    for (const PrivateChat::Person &person : messaging.chat().people())
        if (ConversationWindow *conversation = messaging.windowFor(person.key))
            conversation->SendFile->setEnabled(PrivateChat::whyNoFiles(person).isEmpty());
}

void FileSharing::windowMade(ConversationWindow *conversation)
{
    conversation->SendFile->setEnabled(canTakeFiles(conversation->key()));
    connect(conversation, &ConversationWindow::sendFileAsked, this,
            [this, conversation] { sendTo(conversation->key(), conversation->name(), {}); });
    connect(conversation, &ConversationWindow::filesDropped, this, [this, conversation](const QStringList &paths) {
        sendTo(conversation->key(), conversation->name(), paths);
    });
}

void FileSharing::showCard(const QString &id)
{
    const FileTransfers::Item *item = transfers.item(id);
    if (!item)
        return;
    window->refresh(id);
    TransferCard *card = cards.value(id);
    if (!card) {
        ConversationWindow &conversation = messaging.windowOf(item->peerKey, item->peerName);
        card = new TransferCard(id);
        conversation.addCard(card);
        cards.insert(id, card);
        connect(card, &TransferCard::asked, this, &FileSharing::act);
        const QByteArray key = item->peerKey;
        card->AlwaysAccept->setChecked(acceptsAlwaysFrom(key));
        connect(card->AlwaysAccept, &QCheckBox::toggled, this,
                [key](bool always) { setAcceptAlways(key, always); });
        // An offer comes into sight with its conversation, without taking the keyboard.
        if (!item->sending && item->state == TransferRecord::State::Offered && !conversation.isVisible()) {
            conversation.setAttribute(Qt::WA_ShowWithoutActivating);
            conversation.show();
        }
    }
    const PrivateChat::Person *person = messaging.chat().personWithKey(item->peerKey);
    card->show(*item, person && messaging.chat().keyMark(*person) == PrivateChat::KeyMark::Known);
}

void FileSharing::act(TransferAction action, const QString &id)
{
    const FileTransfers::Item *item = transfers.item(id);
    if (!item)
        return;
    QString error;
    switch (action) {
    case TransferAction::Accept:
        error = transfers.accept(id, downloadsFolder());
        break;
    case TransferAction::SaveAs: {
        FileDialogRequest request;
        request.title = tr("Save the files from %1 in").arg(item->peerName);
        request.folder = downloadsFolder();
        const QString folder = seams.prompts.ExistingFolder(request);
        if (!folder.isEmpty())
            error = transfers.accept(id, folder);
        break;
    }
    case TransferAction::Decline:
        transfers.decline(id);
        break;
    case TransferAction::Pause:
        transfers.pause(id);
        break;
    case TransferAction::Resume:
        transfers.resume(id);
        break;
    case TransferAction::Cancel:
        transfers.cancel(id);
        break;
    case TransferAction::Open:
        if (!item->saved.isEmpty())
            seams.shell.Open(QUrl::fromLocalFile(item->files == 1 ? item->saved.constFirst() : item->folder).toString());
        break;
    case TransferAction::ShowInFolder: {
        const QString folder = item->sending ? QFileInfo(item->sources.value(0)).absolutePath() : item->folder;
        seams.shell.Open(QUrl::fromLocalFile(folder).toString());
        break;
    }
    }
    if (!error.isEmpty())
        seams.prompts.ShowError(error);
}

void FileSharing::offersCame(const QByteArray &, const QString &name, int offers, int files, qint64 bytes)
{
    if (!seams.notifications)
        return;
    seams.notifications->fileNews(
        offers == 1 ? tr("%1 offers %2, %3").arg(name, TransferText::files(files), TransferText::size(bytes))
                    : tr("%1 offers %n transfers: %2, %3 in all", nullptr, offers)
                          .arg(name, TransferText::files(files), TransferText::size(bytes)));
}

void FileSharing::ended(const QString &id)
{
    const FileTransfers::Item *item = transfers.item(id);
    if (!item)
        return;
    const bool done = item->state == TransferRecord::State::Done;
    const QString names = TransferText::names(*item);
    QString news;
    if (item->sending)
        news = done ? tr("%1 has %2.").arg(item->peerName, names)
                    : tr("Sending %1 to %2 failed: %3").arg(names, item->peerName, item->reason);
    else
        news = done ? tr("%1 from %2 arrived.").arg(names, item->peerName)
                    : tr("%1 from %2 did not arrive: %3").arg(names, item->peerName, item->reason);
    if (seams.notifications)
        seams.notifications->fileNews(news);
    // The history keeps every transfer: its files, sizes and hashes, and where they went.
    const std::optional<FileOffer> offer = FileOffer::fromText(item->offer);
    QStringList lines{news};
    constexpr qsizetype kMostListed = 20;
    for (qsizetype index = 0; offer && index < std::min(offer->files.size(), kMostListed); ++index)
        lines << tr("%1, %2, SHA-256 %3%4")
                     .arg(offer->files[index].path.join(QLatin1Char('/')), TransferText::size(offer->files[index].size),
                          QString::fromLatin1(offer->files[index].sha256.toHex()),
                          item->saved.value(index).isEmpty() ? QString() : tr(", saved as %1").arg(item->saved.value(index)));
    if (offer && offer->files.size() > kMostListed)
        lines << tr("and %1 more files").arg(offer->files.size() - kMostListed);
    emit transferLine(item->peerKey, item->peerName, item->sending ? QString() : item->peerName,
                      tr("[file] %1").arg(lines.join(QStringLiteral("; "))));
}
