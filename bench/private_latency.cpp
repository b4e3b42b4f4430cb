// The time from Enter to "delivered" for private messages between two
// guests: a host and two guests of version 2, each with its own key, in one
// process over loopback (one event loop runs all three). Anna writes to Bob
// MESSAGES times (1,000 by default), each GAP ms after the last was delivered
// (60 by default: a brisk typist's pace, under the host's 20 lines a second
// for each guest; with 0 the host's pace is what is measured). Prints the
// median and the 99th percentile, in milliseconds.
//   private_latency [MESSAGES] [GAP]
#include "ChatLink.h"
#include "Cp1251CodePage.h"
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
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr quint16 kPort = 47900;

struct Keys {
    Keys(const QTemporaryDir &folder, const QString &name)
    {
        QString error;
        identity = HostIdentity::LoadOrMake(folder.filePath(name + QStringLiteral(".pem")), error);
        store = std::make_unique<PrivateStore>(folder.filePath(name + QStringLiteral(".private")));
        chat = std::make_unique<PrivateChat>(identity.get(), *store);
    }
    std::unique_ptr<HostIdentity> identity;
    std::unique_ptr<PrivateStore> store;
    std::unique_ptr<PrivateChat> chat;
};

struct Guest : Keys {
    Guest(const QTemporaryDir &folder, const QString &name)
        : Keys(folder, name), session(client, codePage, [name] { return name; }), context(GuestContext(identity.get()))
    {
        ConnectPrivateChat(*chat, session);
        client.OnConnect = [this](TCustomWSocket *, int) {
            session.connected();
            session.registerName();
        };
        client.OnData = [this](TCustomWSocket *, int) { session.read(); };
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = QString::number(kPort);
        client.TryFirst(100, std::make_unique<TlsTransports>(context.get(), GuestSide{}));
        client.Open();
    }
    Cp1251CodePage codePage;
    TTCPClient client{nullptr};
    GuestSession session;
    SslContext context;
};

} // namespace

int main(int argc, char *argv[])
{
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    const int messages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int gapMs = argc > 2 ? std::max(0, std::atoi(argv[2])) : 60;
    QTemporaryDir folder;
    Keys host(folder, QStringLiteral("host"));
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
    server.OnAccept = [&](TCustomWSocket *, int socket) { session.accept(socket); };
    server.OnData = [&](TCustomWSocket *, int socket) { session.read(socket); };
    server.OnClose = [&](TCustomWSocket *, int socket) { session.closed(socket); };
    server.OnDrained = [&](TCustomWSocket *, int socket) { session.drained(socket); };
    server.Port = QString::number(kPort);
    server.Open();
    SslContext hostContext = HostContext(*host.identity);
    server.ListenAlso(QString::number(kPort + 100), std::make_unique<TlsTransports>(hostContext.get(), HostSide{}));

    Guest anna(folder, QStringLiteral("Anna")), bob(folder, QStringLiteral("Bob"));
    const QByteArray bobsKey = bob.identity->Fingerprint();
    std::vector<double> millis;
    QElapsedTimer clock;
    const auto sendNext = [&] {
        clock.start();
        anna.chat->send(bobsKey, QStringLiteral("Bob"), QStringLiteral("message %1").arg(millis.size()));
    };
    QObject::connect(anna.chat.get(), &PrivateChat::delivered, [&] {
        millis.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (int(millis.size()) == messages)
            QCoreApplication::quit();
        else
            QTimer::singleShot(gapMs, sendNext);
    });
    QTimer waitForBob;
    QObject::connect(&waitForBob, &QTimer::timeout, [&] {
        if (anna.chat->personWithKey(bobsKey)) {
            waitForBob.stop();
            sendNext();
        }
    });
    waitForBob.start(10);
    QTimer::singleShot(600'000, [] {
        std::fprintf(stderr, "not every message was delivered in ten minutes\n");
        QCoreApplication::exit(1);
    });
    if (QCoreApplication::exec() != 0)
        return 1;
    std::sort(millis.begin(), millis.end());
    const auto at = [&](double share) { return millis[std::min(millis.size() - 1, size_t(share * double(millis.size())))]; };
    std::printf("private messages guest to guest: %zu, %d ms apart; Enter to delivered median_ms=%.2f p99_ms=%.2f "
                "max_ms=%.2f\n",
                millis.size(), gapMs, at(0.5), at(0.99), millis.back());
    return 0;
}
