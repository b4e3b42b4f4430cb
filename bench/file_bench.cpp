// One copy of a file transfer's benchmark, as a process of its own (so that
// each can sit in a network namespace): the host, a guest that sends, or a
// guest that takes. Each keeps its key and its transfers in STATE, so that
// a guest killed midway and started again goes on where it was.
//   file_bench host --state DIR --port P
//       prints "listening", then each second "host relayed=BYTES rss_kb=K"
//   file_bench send --state DIR --host ADDR --port P --name N --to M PATH...
//       offers the paths to M once M is in the chat; ends when M has them
//   file_bench take --state DIR --host ADDR --port P --name N --folder F
//       accepts every offer into F; prints "took BYTES in SECONDS s" (from
//       the offer's coming to the files' naming) and ends once a transfer is done
#include "ChatLink.h"
#include "Cp1251CodePage.h"
#include "FileTransfers.h"
#include "GuestSession.h"
#include "HostIdentity.h"
#include "HostSession.h"
#include "PrivateChat.h"
#include "PrivateStore.h"
#include "PrivateWiring.h"
#include "SecureOpening.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TlsTransport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

constexpr int kSecureOffset = 100;

struct Copy {
    explicit Copy(const QString &state)
    {
        QDir().mkpath(state);
        QString error;
        identity = HostIdentity::LoadOrMake(QDir(state).filePath(QStringLiteral("key.pem")), error);
        store = std::make_unique<PrivateStore>(QDir(state).filePath(QStringLiteral("private")));
        chat = std::make_unique<PrivateChat>(identity.get(), *store);
        files = std::make_unique<FileTransfers>(identity.get(), *chat, QDir(state).filePath(QStringLiteral("transfers")));
    }
    std::unique_ptr<HostIdentity> identity;
    std::unique_ptr<PrivateStore> store;
    std::unique_ptr<PrivateChat> chat;
    std::unique_ptr<FileTransfers> files;
};

qint64 RssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

int Host(const QHash<QString, QStringList> &options)
{
    Copy host(options.value("--state").value(0));
    const quint16 port = quint16(options.value("--port").value(0).toUInt());
    Cp1251CodePage codePage;
    TTCPServer server(nullptr);
    HostSession::Setup setup;
    setup.nickname = [] { return QStringLiteral("Hosty"); };
    setup.busy = [] { return false; };
    setup.admits = [](const QString &) { return true; };
    HostSession session(server, codePage, ReadPace(20, 60), setup);
    HostSession::NameKeys keys;
    keys.ownKey = [&host] { return host.identity->Fingerprint(); };
    session.holdNamesBy(keys);
    ConnectPrivateChat(*host.chat, session);
    host.files->setRelay(&session.fileRelay(), [] { return QStringLiteral("Hosty"); });
    server.OnAccept = [&](TCustomWSocket *, int socket) { session.accept(socket); };
    server.OnData = [&](TCustomWSocket *, int socket) { session.read(socket); };
    server.OnClose = [&](TCustomWSocket *, int socket) { session.closed(socket); };
    server.OnDrained = [&](TCustomWSocket *, int socket) { session.drained(socket); };
    server.Port = QString::number(port);
    server.Open();
    SslContext context = HostContext(*host.identity);
    HostSide side;
    side.fileConnectionAllowed = [&session](const QByteArray &key) { return session.hasParticipantWithKey(key); };
    server.ListenAlso(QString::number(port + kSecureOffset), std::make_unique<TlsTransports>(context.get(), side));
    std::printf("listening\n");
    std::fflush(stdout);
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        std::printf("host relayed=%lld rss_kb=%lld\n", session.fileRelay().bytesRelayed(), RssKb());
        std::fflush(stdout);
    });
    report.start(1000);
    return QCoreApplication::exec();
}

int Guest(const QString &role, const QHash<QString, QStringList> &options)
{
    Copy guest(options.value("--state").value(0));
    const QString name = options.value("--name").value(0);
    const QString host = options.value("--host").value(0);
    const quint16 port = quint16(options.value("--port").value(0).toUInt());
    Cp1251CodePage codePage;
    TTCPClient client(nullptr);
    GuestSession session(client, codePage, [name] { return name; });
    SslContext context = GuestContext(guest.identity.get());
    ConnectPrivateChat(*guest.chat, session);
    guest.files->setHostAddress([host, port] { return qMakePair(host, quint16(port + kSecureOffset)); });
    client.OnConnect = [&](TCustomWSocket *, int) {
        session.connected();
        session.registerName();
    };
    client.OnData = [&](TCustomWSocket *, int) { session.read(); };
    client.Host = host;
    client.Port = QString::number(port);
    client.TryFirst(kSecureOffset, std::make_unique<TlsTransports>(context.get(), GuestSide{}));
    client.Open();

    QElapsedTimer clock;
    QObject::connect(guest.files.get(), &FileTransfers::ended, [&](const QString &id) {
        const FileTransfers::Item *item = guest.files->item(id);
        if (item->state != TransferRecord::State::Done) {
            std::fprintf(stderr, "the transfer failed: %s\n", qPrintable(item->reason));
            QCoreApplication::exit(1);
            return;
        }
        if (role == QLatin1String("take"))
            std::printf("took %lld in %.3f s\n", item->total, double(clock.nsecsElapsed()) / 1e9);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    if (role == QLatin1String("take")) {
        const QString folder = options.value("--folder").value(0);
        guest.files->acceptWithoutAsking([folder](const QByteArray &) { return folder; });
        // From the offer's coming, as the bare relay from its connection: the sender's hashing before it is not counted.
        QObject::connect(guest.files.get(), &FileTransfers::added, [&clock] {
            if (!clock.isValid())
                clock.start();
        });
    } else {
        const QString to = options.value("--to").value(0);
        const QStringList paths = options.value("");
        auto *waitForPeer = new QTimer;
        QObject::connect(waitForPeer, &QTimer::timeout, [&guest, to, paths, waitForPeer] {
            for (const PrivateChat::Person &person : guest.chat->people())
                if (person.name == to && !person.key.isEmpty()) {
                    waitForPeer->stop();
                    guest.files->send(person.key, to, paths);
                }
        });
        // A sender that was restarted goes on with its transfer: it offers nothing new.
        if (guest.files->ids().isEmpty())
            waitForPeer->start(20);
    }
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    QHash<QString, QStringList> options;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype at = 2; at < arguments.size(); ++at) {
        if (arguments[at].startsWith(QLatin1String("--")) && at + 1 < arguments.size())
            options[arguments[at]] << arguments[at + 1], ++at;
        else
            options[QString()] << arguments[at];
    }
    const QString role = arguments.value(1);
    if (role == QLatin1String("host"))
        return Host(options);
    if (role == QLatin1String("send") || role == QLatin1String("take"))
        return Guest(role, options);
    std::fprintf(stderr, "usage: file_bench host|send|take --state DIR ...\n");
    return 2;
}
