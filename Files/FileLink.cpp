#include "FileLink.h"

#include "HostIdentity.h"
#include "InnerTls.h"
#include "SecureOpening.h"
#include "TTCPClient.h"

FileLink::FileLink(const HostIdentity &identity, SSL_CTX *fileContext, const QByteArray &hostKey, const QString &host,
                   quint16 securePort, Ends given, QObject *parent)
    : QObject(parent), identity(identity), ends(std::move(given)), client(std::make_unique<TTCPClient>(nullptr))
{
    client->Host = host;
    client->Port = QString::number(securePort);
    GuestSide guest;
    // Only the host this copy chats with, under the key it knows: never asked about.
    guest.checkKey = [hostKey](int, const QByteArray &fingerprint, QString &) {
        return fingerprint == hostKey ? KeyVerdict::Trusted : KeyVerdict::Refused;
    };
    client->UseTransports(std::make_unique<TlsTransports>(fileContext, guest));
    client->OnConnect = [this](TCustomWSocket *, int) { connected(); };
    client->OnData = [this](TCustomWSocket *, int) { readable(); };
    client->OnClose = [this](TCustomWSocket *, int) { emit ended(tr("The file connection ended.")); };
    client->OnError = [this](TCustomWSocket *, int, const QString &text) { emit ended(text); };
    client->OnDrained = [this](TCustomWSocket *, int) { flush(); };
}

FileLink::~FileLink() = default;

void FileLink::open()
{
    client->Open();
}

void FileLink::close()
{
    session.reset();
    client->Close();
}

void FileLink::connected()
{
    client->SendText((ends.sends ? "send " : "take ") + ends.transfer.toLatin1() + ' ' + ends.peerName.toUtf8() + '\n');
    session = std::make_unique<InnerTls>(identity, InnerTls::roleBetween(identity.Fingerprint(), ends.peerKey),
                                         ends.peerKey);
    session->write(std::exchange(waiting, QByteArray()));
    flush();
}

void FileLink::write(const QByteArray &bytes)
{
    if (!session) {
        waiting += bytes;
        return;
    }
    session->write(bytes);
    flush();
}

void FileLink::readable()
{
    constexpr qsizetype kReadAtOnce = 256 * 1024;
    const QByteArray records = client->receiveBytes(client->SocketHandle(), kReadAtOnce);
    if (!session || records.isEmpty())
        return;
    if (!session->feed(records)) {
        // Not the key announced for the other guest, or not its records: nothing more of it counts.
        close();
        emit ended(tr("The other copy is not the one its key was announced for."));
        return;
    }
    flush();
    const QByteArray bytes = session->read();
    if (!bytes.isEmpty())
        emit received(bytes);
}

void FileLink::flush()
{
    // The records go as the connection takes them: a few pieces wait in its
    // queue at most, the rest here, until it has drained.
    constexpr qsizetype kPiece = 256 * 1024;
    constexpr qsizetype kMostQueued = 2 * kPiece;
    if (session)
        unsent += session->takeRecords();
    const int socket = client->SocketHandle();
    while (!unsent.isEmpty()) {
        if (client->isBackedUp(socket) || client->QueuedBytes(socket) + kPiece > kMostQueued) {
            client->tellWhenDrained(socket);
            return;
        }
        client->SendText(unsent.left(kPiece));
        unsent.remove(0, std::min(kPiece, unsent.size()));
    }
}
