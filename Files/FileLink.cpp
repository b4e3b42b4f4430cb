#include "FileLink.h"

#include "HostIdentity.h"
#include "InnerTls.h"
#include "SecureOpening.h"
#include "TTCPClient.h"

namespace {

constexpr qsizetype kPiece = 256 * 1024;
// The records go as the connection takes them: a few pieces wait in its queue at most.
constexpr qsizetype kMostQueued = 2 * kPiece;
// The line the host's relay sends in place of the other end's records when it does not relay a transfer.
constexpr char kRefused[] = "refused ";

} // namespace

FileLink::FileLink(const HostIdentity &identity, SSL_CTX *fileContext, const QByteArray &hostKey, const QString &host,
                   quint16 securePort, Ends given, QObject *parent)
    : QObject(parent), identity(identity), ends(std::move(given)), client(std::make_unique<TTCPClient>(nullptr))
{
    carrier = client.get();
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
    client->OnClose = [this](TCustomWSocket *, int) { emit ended(tr("The file connection ended."), false); };
    client->OnError = [this](TCustomWSocket *, int, const QString &text) { emit ended(text, false); };
    client->OnDrained = [this](TCustomWSocket *, int) { flush(); };
}

FileLink::FileLink(const HostIdentity &identity, TCustomWSocket &carrier, int socket, std::function<void()> closeIt,
                   Ends given, const QByteArray &early, QObject *parent)
    : QObject(parent), identity(identity), ends(std::move(given)), carrier(&carrier), hostSocket(socket),
      closeIt(std::move(closeIt)), early(early)
{
}

FileLink::~FileLink() = default;

int FileLink::socket() const
{
    return client ? client->SocketHandle() : hostSocket;
}

void FileLink::open()
{
    if (client) {
        client->Open();
        return;
    }
    startSession();
    if (!early.isEmpty())
        take(std::exchange(early, QByteArray()));
}

void FileLink::close()
{
    session.reset();
    if (client)
        client->Close();
    else if (closeIt)
        std::exchange(closeIt, nullptr)();
}

void FileLink::connected()
{
    QByteArray line = (ends.sends ? "send " : "take ") + ends.transfer.toLatin1() + ' ' + ends.peerName.toUtf8();
    if (ends.sends)
        line += ' ' + QByteArray::number(ends.largest);
    client->SendText(line + '\n');
    startSession();
}

void FileLink::startSession()
{
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
    const QByteArray records = carrier->receiveBytes(socket(), kReadAtOnce);
    if (session && !records.isEmpty())
        take(records);
}

void FileLink::take(const QByteArray &records)
{
    // A record starts with its type, never with a letter: a line here is the host's refusal.
    if (!anything && records.startsWith(kRefused)) {
        const QString why = QString::fromUtf8(records.mid(qsizetype(sizeof kRefused) - 1).split('\n').constFirst());
        close();
        emit ended(why, true);
        return;
    }
    anything = true;
    if (!session->feed(records)) {
        // Not the key announced for the other end, or not its records: nothing more of it counts.
        close();
        emit ended(tr("The other copy is not the one its key was announced for."), false);
        return;
    }
    flush();
    const QByteArray bytes = session->read();
    if (!bytes.isEmpty())
        emit received(bytes);
}

void FileLink::flush()
{
    if (session)
        unsent += session->takeRecords();
    const int to = socket();
    // What was sent is passed over, not moved out of the way: the rest may be megabytes.
    while (sentOf < unsent.size() && to >= 0) {
        if (carrier->isBackedUp(to) || carrier->QueuedBytes(to) + kPiece > kMostQueued) {
            carrier->tellWhenDrained(to);
            break;
        }
        carrier->SocketSend(to, 0, unsent.mid(sentOf, kPiece));
        sentOf += std::min(kPiece, unsent.size() - sentOf);
    }
    if (sentOf == unsent.size() || sentOf > unsent.size() / 2) {
        unsent.remove(0, sentOf);
        sentOf = 0;
    }
}
