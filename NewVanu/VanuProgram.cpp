#include "VanuProgram.h"

#include "ChatNotifications.h"
#include "FileSharing.h"
#include "FileTransfers.h"
#include "FoundHostsPicker.h"
#include "HistoryMenu.h"
#include "HistoryRecorder.h"
#include "HistoryWindow.h"
#include "HostAnnouncer.h"
#include "HostSession.h"
#include "LocalAddress.h"
#include "Padlock.h"
#include "PrivateMessaging.h"
#include "SecureChat.h"
#include "SecureChatDialog.h"
#include "TAboutBox.h"
#include "TForm4.h"
#include "TForm8.h"
#include "THelpBox.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TfFriends.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QStatusBar>

VanuProgram::VanuProgram(const QString &programFolder, const DesktopSeams &seams, const FeatureSeams &features,
                         const ChatTuning &tuning)
    : VanuProgram(ProgramFolders{programFolder, programFolder, QString()}, seams, features, tuning)
{
}

VanuProgram::VanuProgram(const ProgramFolders &folders, const DesktopSeams &seams, const FeatureSeams &features,
                         const ChatTuning &tuning)
    : prompts(seams.prompts), shell(seams.shell)
{
    createWindows(folders, seams, tuning);
    connectFriends();
    connectNotifications(features);
    connectDiscovery(features.discovery);
    connectHistory(features.historyPath, seams.codePage, folders.transcripts);
    connectSecureChat(features.secureFolder);
    connectPrivateMessages(features.historyPath, features.secureFolder);
}

VanuProgram::~VanuProgram()
{
    // The features go before the windows they listen to, and the main window
    // goes last: as it goes it tells every guest that the host is down.
    fileSharing.reset();
    fileTransfers.reset();
    privateMessaging.reset();
    secureChatDialog.reset();
    secureChat.reset();
    historyRecorder.reset(); // what waits is written, and the chat ended
    historyWindow.reset();
    historyStore.reset();
    chatNotifications.reset();
    windows.fFriends = nullptr;
    friends.reset();
    windows.HelpBox = nullptr;
    helpBox.reset();
    windows.AboutBox = nullptr;
    aboutBox.reset();
    windows.Form8 = nullptr;
    form8.reset();
    form4.reset();
}

void VanuProgram::createWindows(const ProgramFolders &folders, const DesktopSeams &seams, const ChatTuning &tuning)
{
    const QIcon programIcon = ProgramIcon();
    form4 = std::make_unique<TForm4>(windows, seams, folders.transcripts, programIcon, tuning);
    form8 = std::make_unique<TForm8>(folders.settings, seams.prompts, seams.codePage, folders.readOnly);
    windows.Form8 = form8.get();
    aboutBox = std::make_unique<TAboutBox>(programIcon, seams.shell);
    windows.AboutBox = aboutBox.get();
    helpBox = std::make_unique<THelpBox>();
    windows.HelpBox = helpBox.get();
    friends = std::make_unique<TfFriends>(*form4, form4->FriendsDocked, programIcon);
    windows.fFriends = friends.get();
    for (QWidget *own : std::initializer_list<QWidget *>{form8.get(), aboutBox.get(), helpBox.get()})
        PlaceOverWhenShown(*own, *form4);
}

void VanuProgram::connectFriends()
{
    TForm4 *main = form4.get();
    QObject::connect(friends.get(), &TfFriends::openRequested, main, &TForm4::Open1Click);
    QObject::connect(friends.get(), &TfFriends::aboutRequested, main, &TForm4::About1Click);
    QObject::connect(friends.get(), &TfFriends::closedByUser, main, &TForm4::friendsClosed);
}

void VanuProgram::connectNotifications(const FeatureSeams &features)
{
    TForm4 *main = form4.get();
    chatNotifications = std::make_unique<ChatNotifications>(*main, features.notifier);
    ChatNotifications *notifying = chatNotifications.get();
    QObject::connect(main, &TForm4::textShown, notifying, &ChatNotifications::textShown);
    QObject::connect(main, &TForm4::ownLineSent, notifying, &ChatNotifications::ownLineSent);
    QObject::connect(main, &TForm4::guestAdmitted, notifying, &ChatNotifications::guestAdmitted);
    QObject::connect(main, &TForm4::hostLinkEnded, notifying, &ChatNotifications::hostLinkEnded);
}

void VanuProgram::connectDiscovery(LanDiscovery &discovery)
{
    TForm4 *main = form4.get();
    announcer = std::make_unique<HostAnnouncer>(discovery);
    HostAnnouncer *announcing = announcer.get();
    QObject::connect(main, &TForm4::hostListening, main, [announcing](const QString &nickname, quint16 port, bool busy) {
        announcing->HostListening(nickname, port, busy);
    });
    QObject::connect(main, &TForm4::busyChanged, main, [announcing](bool busy) { announcing->BusyChanged(busy); });
    QObject::connect(main, &TForm4::hostClosed, main, [announcing] { announcing->HostClosed(); });

    hostsPicker = new FoundHostsPicker(*form8->eHost, discovery);
    QObject::connect(hostsPicker, &FoundHostsPicker::picked, form8.get(), &TForm8::PickHost);
}

void VanuProgram::connectHistory(const QString &path, const CodePage &codePage, const QString &transcripts)
{
    if (path.isEmpty())
        return;
    TForm4 *main = form4.get();
    historyPaused = new QLabel(QCoreApplication::translate("VanuProgram", "History paused"));
    historyPaused->hide();
    main->StatusBar1->addPermanentWidget(historyPaused);
    const auto pause = [this](const QString &why) {
        historyPaused->setToolTip(
            QCoreApplication::translate("VanuProgram", "The chat history is paused: %1\nThe chat goes on.").arg(why));
        historyPaused->show();
    };
    historyStore = std::make_unique<HistoryStore>();
    if (!historyStore->Open(path)) {
        pause(historyStore->LastError());
        return;
    }
    if (!historyStore->DamagedCopy().isEmpty())
        prompts.ShowMessage(
            QCoreApplication::translate("VanuProgram",
                                        "The chat history was damaged. It is kept as %1, and a new history has begun.")
                .arg(historyStore->DamagedCopy()));
    TTCPServer *server = main->TCPServer1;
    TTCPClient *client = main->TCPClient1;
    TForm8 *setup = form8.get();
    historyRecorder = std::make_unique<HistoryRecorder>(path, [server, client, setup, main] {
        KeptChat chat;
        chat.hosted = server->State() == wsListening;
        chat.host = chat.hosted ? LocalAddress() : setup->HostAddress();
        // The chat port, also when the guest joined on the secure port above it.
        chat.port = (chat.hosted ? server->Port : client->Port).toInt();
        chat.nickname = chat.hosted ? setup->Nickname() : main->chatNickname();
        return chat;
    });
    HistoryRecorder *recording = historyRecorder.get();
    AddHistoryPreferences(*main->couponMenu, *recording, *historyStore);
    QObject::connect(main, &TForm4::textShown, recording, &HistoryRecorder::TextShown);
    QObject::connect(main, &TForm4::hostClosed, recording, &HistoryRecorder::ChatEnded);
    QObject::connect(recording, &HistoryRecorder::paused, historyPaused, pause);
    QObject::connect(recording, &HistoryRecorder::trimmed, main, [this] {
        prompts.ShowMessage(QCoreApplication::translate(
            "VanuProgram", "The chat history has reached its largest size: its oldest chats were deleted to make room.\n"
                           "Coupon, Largest history sets the size."));
    }, Qt::QueuedConnection);

    historyWindow = std::make_unique<HistoryWindow>(*historyStore, prompts, codePage, transcripts);
    historyWindow->setWindowIcon(main->windowIcon());
    PlaceOverWhenShown(*historyWindow, *main);
    // Alt+C, H stays "I'm Host": the history takes the I.
    QAction *open = new QAction(QCoreApplication::translate("VanuProgram", "H&istory..."), main);
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    const QList<QAction *> items = main->chatMenu->actions();
    const qsizetype after = items.indexOf(main->SaveAs1) + 1; // after Save As
    main->chatMenu->insertAction(after < items.size() ? items[after] : nullptr, open);
    QObject::connect(open, &QAction::triggered, historyWindow.get(), [this] {
        historyRecorder->WriteNow(); // what was just said is found too
        historyWindow->ShowHistory();
    });
}

void VanuProgram::connectSecureChat(const QString &folder)
{
    if (folder.isEmpty())
        return;
    TForm4 *main = form4.get();
    secureChat = std::make_unique<SecureChat>(folder, *main->TCPServer1, *main->TCPClient1, prompts);
    SecureChat *securing = secureChat.get();
    HostAnnouncer *announcing = announcer.get();
    QObject::connect(main, &TForm4::hostListening, securing, [securing, announcing](const QString &, quint16 port, bool) {
        if (const quint16 securePort = securing->HostListening(port))
            announcing->SecureOffered(securePort, ShortFingerprint(securing->hostFingerprint()));
    });
    main->requireSecureGuests(SecureChat::hostModeChosen() == SecureChat::HostMode::Require);
    QObject::connect(securing, &SecureChat::secureGuestsRequired, main, &TForm4::requireSecureGuests);
    QObject::connect(securing, &SecureChat::hostNotice, main, [main](const QString &text) { main->AddChatLine(text); });

    secureChatDialog = std::make_unique<SecureChatDialog>(*securing);
    secureChatDialog->setWindowIcon(main->windowIcon());
    PlaceOverWhenShown(*secureChatDialog, *main);
    QAction *open = main->couponMenu->addAction(QCoreApplication::translate("VanuProgram", "&Secure chat..."));
    QObject::connect(open, &QAction::triggered, secureChatDialog.get(), [this] {
        secureChatDialog->Refresh();
        secureChatDialog->show();
        secureChatDialog->raise();
        secureChatDialog->activateWindow();
    });

    holdNamesByKeys();

    // The padlock beside the status text, which stays as it is, and follows it.
    auto *padlock = new Padlock(*securing, *main->StatusBar1);
    QObject::connect(main, &TForm4::statusChanged, padlock, &Padlock::refreshSoon);
}

void VanuProgram::holdNamesByKeys()
{
    SecureChat *securing = secureChat.get();
    HostSession::NameKeys keys;
    keys.ownKey = [securing] { return securing->hostFingerprint(); };
    keys.heldByAnother = [securing](const QString &name, const QByteArray &key) {
        return securing->heldNames().heldByAnother(name, key, QDateTime::currentMSecsSinceEpoch());
    };
    keys.seen = [securing](const QString &name, const QByteArray &key) {
        securing->heldNames().seen(name, key, QDateTime::currentMSecsSinceEpoch());
    };
    form4->hostSession().holdNamesBy(keys);
    TForm4 *main = form4.get();
    securing->allowFileConnections([main](const QByteArray &key) { return main->hostSession().hasParticipantWithKey(key); });
}

void VanuProgram::connectPrivateMessages(const QString &historyPath, const QString &secureFolder)
{
    if (!secureChat)
        return;
    TForm4 *main = form4.get();
    const QString folder = historyPath.isEmpty() ? secureFolder : QFileInfo(historyPath).absolutePath();
    PrivateMessaging::Seams seams{*main, *friends, prompts, [this, main] {
                                      return main->TCPServer1->State() == wsListening ? form8->Nickname()
                                                                                      : main->chatNickname();
                                  },
                                  chatNotifications.get()};
    privateMessaging = std::make_unique<PrivateMessaging>(seams, secureChat->ownIdentity(),
                                                          QDir(folder).filePath(QStringLiteral("private-messages")));
    if (historyRecorder)
        QObject::connect(privateMessaging.get(), &PrivateMessaging::privateLine, historyRecorder.get(),
                         &HistoryRecorder::PrivateLine);
    connectFiles(folder);
}

void VanuProgram::connectFiles(const QString &folder)
{
    TForm4 *main = form4.get();
    fileTransfers = std::make_unique<FileTransfers>(secureChat->ownIdentity(), privateMessaging->chat(),
                                                    QDir(folder).filePath(QStringLiteral("file-transfers")));
    FileRelay &relay = main->hostSession().fileRelay();
    TForm8 *setup = form8.get();
    fileTransfers->setRelay(&relay, [setup] { return setup->Nickname(); });
    TTCPClient *client = main->TCPClient1;
    fileTransfers->setHostAddress([client] {
        return qMakePair(client->Host, quint16(client->Port.toInt() + SecureChat::kSecurePortOffset));
    });
    relay.setPolicy(SecureChat::relaysFiles(), qint64(SecureChat::largestRelayedMiB()) * 1024 * 1024);
    QObject::connect(secureChat.get(), &SecureChat::fileRelayingChanged, &relay,
                     [&relay](bool relays, int largestMiB) { relay.setPolicy(relays, qint64(largestMiB) * 1024 * 1024); });
    fileSharing = std::make_unique<FileSharing>(FileSharing::Seams{*main, *friends, prompts, shell, chatNotifications.get()},
                                                *privateMessaging, *fileTransfers);
    if (historyRecorder)
        QObject::connect(fileSharing.get(), &FileSharing::transferLine, historyRecorder.get(),
                         &HistoryRecorder::PrivateLine);
    // The host shows that it relays, and how much, never what.
    relaying = new QLabel(main->StatusBar1);
    relaying->setAccessibleName(QCoreApplication::translate("VanuProgram", "Files relayed"));
    main->StatusBar1->addPermanentWidget(relaying);
    relaying->hide();
    QLabel *shown = relaying;
    QObject::connect(&relay, &FileRelay::relaying, shown, [shown](int transfers, qint64 bytes) {
        shown->setText(QCoreApplication::translate("VanuProgram", "Relaying %n file transfer(s), %1 in all", nullptr, transfers)
                           .arg(QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat)));
        shown->setVisible(transfers > 0);
    });
}

void VanuProgram::sendFiles(const QStringList &paths)
{
    if (fileSharing)
        fileSharing->sendFiles(paths);
    else
        prompts.ShowError(QCoreApplication::translate("VanuProgram", "Files go only in secure chat, which is off here."));
}

void VanuProgram::start()
{
    form4->show();
}

void VanuProgram::openSetupFile(const QString &path)
{
    form8->open();
    if (!QFileInfo::exists(path))
        prompts.ShowError(
            QCoreApplication::translate("VanuProgram", "Cannot open file %1").arg(QDir::toNativeSeparators(path)));
    else
        form8->LoadSetupFromOutside(path);
}

QIcon VanuProgram::ProgramIcon()
{
    return QIcon(QStringLiteral(":/NewVanu/program.png"));
}
