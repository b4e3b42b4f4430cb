#include "HostRoster.h"

#include "CodePage.h"
#include "NameMatching.h"

#include <algorithm>
#include <utility>

namespace {

// The places where a chat line of `name` begins in `text`, the start
// included when one begins there.
QList<qsizetype> LineStarts(const QByteArray &text, const QByteArray &name)
{
    QList<qsizetype> starts;
    for (qsizetype at = text.indexOf('<'); at >= 1; at = text.indexOf('<', at + 1))
        if (Protocol::ChatLineOfBeginsAt(text, at - 1, name))
            starts << at - 1;
    return starts;
}

bool BreaksALine(const QByteArray &line)
{
    return line.contains('\r') || line.contains('\n');
}

} // namespace

qsizetype HostRoster::IndexOf(int socket) const
{
    for (qsizetype index = 0; index < guests.size(); ++index)
        if (guests[index].socket == socket)
            return index;
    return -1;
}

HostRoster::Guest *HostRoster::find(int socket)
{
    const qsizetype index = IndexOf(socket);
    return index < 0 ? nullptr : &guests[index];
}

const HostRoster::Guest *HostRoster::find(int socket) const
{
    const qsizetype index = IndexOf(socket);
    return index < 0 ? nullptr : &guests[index];
}

void HostRoster::admit(int socket, const Peer &peer, TextEncoding encoding)
{
    if (Guest *guest = find(socket)) {
        guest->peer = peer;
        guest->encoding = encoding;
        return;
    }
    Guest guest;
    guest.socket = socket;
    guest.peer = peer;
    guest.encoding = encoding;
    guests.append(guest);
}

HostRoster::Peer HostRoster::peerOf(int socket) const
{
    const Guest *guest = find(socket);
    return guest ? guest->peer : Peer();
}

std::optional<int> HostRoster::Remove(int socket)
{
    guests.removeIf([socket](const Guest &guest) { return guest.socket == socket; });
    const qsizetype row = sockets.indexOf(socket);
    if (row < 0)
        return std::nullopt;
    sockets.removeAt(row);
    registered.removeAt(row);
    return int(row);
}

void HostRoster::Clear()
{
    guests.clear();
    sockets.clear();
    registered.clear();
}

HostRoster::Entry HostRoster::enrol(int socket, const QByteArray &name)
{
    const qsizetype row = sockets.indexOf(socket);
    if (row >= 0) {
        registered[row] = name;
        return {int(row), false};
    }
    sockets.append(socket);
    registered.append(name);
    return {int(registered.size() - 1), true};
}

QList<HostRoster::GuestText> HostRoster::read(int socket, const QByteArray &piece, const QByteArray &hostName,
                                              qint64 nowMs, bool moreWaits)
{
    QList<GuestText> out;
    Guest *guest = find(socket);
    if (!guest || guest->refused)
        return out;
    QByteArray text = std::exchange(guest->rest, QByteArray()) + piece;
    if (piece.size() == Protocol::kReadSize && moreWaits && !text.startsWith(' ') && guest->name) {
        // Cut short: the last line may go on in the next read.
        const QList<qsizetype> starts = LineStarts(text, *guest->name);
        const qsizetype last = starts.isEmpty() ? 0 : starts.constLast();
        if (text.size() - last <= kLongestHeldLine) {
            guest->rest = text.mid(last);
            guest->restDeadline = nowMs + kRestOfTextWaitMs;
            text.truncate(last);
        }
    }
    if (!text.isEmpty())
        take(*guest, text, hostName, nowMs, out);
    return out;
}

void HostRoster::take(Guest &guest, const QByteArray &text, const QByteArray &hostName, qint64 nowMs,
                      QList<GuestText> &out)
{
    if (text.startsWith(' ')) {
        takeRegistration(guest, text, hostName, out);
        return;
    }
    if (!guest.name) {
        // Before the registration: wait for it, within bounds.
        qsizetype waiting = text.size();
        for (const QByteArray &line : guest.early)
            waiting += line.size();
        if (waiting > kMostWaiting) {
            takeLine(guest, text, out);
            return;
        }
        if (guest.early.isEmpty())
            guest.earlyDeadline = nowMs + kRegistrationWaitMs;
        guest.early.append(text);
        return;
    }
    takeLines(guest, text, out);
}

void HostRoster::takeRegistration(Guest &guest, const QByteArray &text, const QByteArray &hostName,
                                  QList<GuestText> &out)
{
    // The name ends where the guest's own first line begins, if it came along.
    qsizetype end = text.size();
    for (qsizetype at = 2; at < text.size(); ++at) {
        if (Protocol::ChatLineOfBeginsAt(text, at, text.mid(1, at - 1))) {
            end = at;
            break;
        }
    }
    const QByteArray name = text.mid(1, end - 1);
    if (const std::optional<Protocol::NameRefusal> refusal = refusalOf(guest, name, hostName)) {
        guest.refused = true;
        guest.early.clear();
        guest.rest.clear();
        GuestText refused;
        refused.action = GuestText::Action::Refused;
        refused.socket = guest.socket;
        refused.bytes = name;
        refused.encoding = guest.encoding;
        refused.refusal = *refusal;
        out << refused;
        return;
    }
    guest.name = name;
    GuestText registered;
    registered.action = GuestText::Action::Registered;
    registered.socket = guest.socket;
    registered.bytes = name;
    registered.encoding = guest.encoding;
    registered.entry = enrol(guest.socket, recodeText(name, guest.encoding, TextEncoding::Utf8, codePage));
    out << registered;
    for (const QByteArray &line : std::exchange(guest.early, {}))
        takeLines(guest, line, out);
    if (end < text.size())
        takeLines(guest, text.mid(end), out);
}

void HostRoster::takeLines(Guest &guest, const QByteArray &text, QList<GuestText> &out)
{
    QList<qsizetype> starts = LineStarts(text, *guest.name);
    if (starts.isEmpty() || starts.constFirst() != 0)
        starts.prepend(0);
    for (qsizetype index = 0; index < starts.size(); ++index) {
        const qsizetype end = index + 1 < starts.size() ? starts[index + 1] : text.size();
        takeLine(guest, text.mid(starts[index], end - starts[index]), out);
    }
}

void HostRoster::takeLine(Guest &guest, const QByteArray &line, QList<GuestText> &out)
{
    if (line.isEmpty() || line.startsWith('#') || line.startsWith('-'))
        return; // nothing, or a text only the host may send
    GuestText taken;
    taken.socket = guest.socket;
    taken.bytes = line;
    taken.encoding = guest.encoding;
    const bool ownName = guest.name && Protocol::ChatLineOfBeginsAt(line, 0, *guest.name);
    if (ownName && !BreaksALine(line)) {
        taken.action = GuestText::Action::Relay;
    } else {
        if (std::exchange(guest.warned, true))
            return;
        taken.action = GuestText::Action::NotRelayed;
        taken.breaksLine = ownName;
    }
    out << taken;
}

QList<HostRoster::GuestText> HostRoster::expire(qint64 nowMs)
{
    QList<GuestText> out;
    for (Guest &guest : guests) {
        if (!guest.rest.isEmpty() && guest.restDeadline <= nowMs)
            takeLines(guest, std::exchange(guest.rest, QByteArray()), out);
        if (!guest.early.isEmpty() && guest.earlyDeadline <= nowMs)
            for (const QByteArray &line : std::exchange(guest.early, {}))
                takeLine(guest, line, out);
    }
    return out;
}

void HostRoster::postpone(int socket, qint64 untilMs)
{
    if (Guest *guest = find(socket))
        guest->restDeadline = std::max(guest->restDeadline, untilMs + kRestOfTextWaitMs);
}

std::optional<qint64> HostRoster::NextDeadline() const
{
    std::optional<qint64> next;
    const auto consider = [&next](qint64 deadline) { next = next ? std::min(*next, deadline) : deadline; };
    for (const Guest &guest : guests) {
        if (!guest.rest.isEmpty())
            consider(guest.restDeadline);
        if (!guest.early.isEmpty())
            consider(guest.earlyDeadline);
    }
    return next;
}

QByteArray HostRoster::listText() const
{
    return Protocol::ListMessage(registered);
}

QByteArray HostRoster::departureText(int row) const
{
    return Protocol::Departure(row, registered);
}

std::optional<Protocol::NameRefusal> HostRoster::refusalOf(const Guest &guest, const QByteArray &name,
                                                           const QByteArray &hostName) const
{
    using Protocol::NameRefusal;
    if (name.isEmpty())
        return NameRefusal::Empty;
    // The code page's own reading marks its gaps, which no name may hold.
    const QString readable =
        guest.encoding == TextEncoding::Utf8 ? QString::fromUtf8(name) : NameMatching::FromWire(name);
    // Every guest reads every name in the code page: there it must fit, and differ.
    const QByteArray inCodePage = codePage.fromUnicode(readable);
    if (inCodePage.size() > Protocol::kLongestName)
        return NameRefusal::TooLong;
    for (char character : name)
        if (static_cast<unsigned char>(character) < 32)
            return NameRefusal::ControlCharacter;
    if (readable.trimmed().isEmpty())
        return NameRefusal::Empty;
    if (NameMatching::HoldsInvisible(readable))
        return NameRefusal::ControlCharacter;
    const QString key = NameMatching::Key(readable);
    const auto sameName = [&](const QByteArray &used) {
        const QString usedText = QString::fromUtf8(used);
        return NameMatching::Key(usedText) == key || codePage.fromUnicode(usedText) == inCodePage;
    };
    if (sameName(hostName))
        return NameRefusal::Taken;
    for (qsizetype row = 0; row < registered.size(); ++row)
        if (sockets[row] != guest.socket && sameName(registered[row]))
            return NameRefusal::Taken;
    if (nameHeldForAnother && nameHeldForAnother(guest.socket, readable.trimmed()))
        return NameRefusal::Taken;
    return std::nullopt;
}
