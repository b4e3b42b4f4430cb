#include "HostTextReader.h"

#include "RuntimeErrors.h"

#include <utility>

QList<HostTextReader::Text> HostTextReader::Take(const QByteArray &piece)
{
    held += piece;
    const bool cutShort = piece.size() == Protocol::kReadSize;
    if (cutShort && held.size() < kLongestJoinedText)
        return {};
    return Release(cutShort);
}

QList<HostTextReader::Text> HostTextReader::TakeHeld()
{
    if (held.isEmpty())
        return {};
    return Release(false);
}

void HostTextReader::Clear()
{
    held.clear();
    continuesText = false;
    participants.clear();
    hostName.reset();
}

QList<HostTextReader::Text> HostTextReader::Release(bool cutShort)
{
    QByteArray text = std::exchange(held, QByteArray());
    // The rest of a text that was cut short is never taken for a list or a departure.
    bool continuation = std::exchange(continuesText, cutShort);
    QList<Text> texts;
    do {
        const Protocol::GuestReceives kind =
            continuation ? Protocol::GuestReceives::Shown : Protocol::ClassifyFromHost(text);
        continuation = false;
        const qsizetype end = EndOfFirstText(text, kind);
        texts << Read(kind, text.left(end));
        text.remove(0, end);
    } while (!text.isEmpty());
    return texts;
}

HostTextReader::Text HostTextReader::Read(Protocol::GuestReceives kind, const QByteArray &bytes)
{
    Text text;
    text.kind = kind;
    text.bytes = bytes;
    switch (kind) {
    case Protocol::GuestReceives::List:
        participants = Protocol::DecodeList(bytes.mid(1));
        text.participants = participants;
        break;
    case Protocol::GuestReceives::Departure:
        try {
            text.position = Protocol::DeparturePosition(bytes);
        } catch (const EConvertError &) {
            break; // the guest's handler reports it
        }
        if (text.position < participants.size())
            text.departed = participants.takeAt(text.position);
        break;
    case Protocol::GuestReceives::Shown:
        if (std::optional<QByteArray> name = Protocol::HostNameInGreeting(bytes))
            hostName = std::move(name);
        break;
    }
    return text;
}

qsizetype HostTextReader::EndOfFirstText(const QByteArray &text, Protocol::GuestReceives kind) const
{
    if (kind == Protocol::GuestReceives::Departure)
        if (const qsizetype length = ProvenDepartureLength(text, 0))
            return length;
    if (kind == Protocol::GuestReceives::Shown)
        if (const qsizetype length = Protocol::KnownHostTextLength(text))
            return length;
    // A list's quoted entries may hold anything; nothing inside them begins a text.
    const bool quotesMatter = kind != Protocol::GuestReceives::Shown;
    bool quoted = false;
    for (qsizetype at = 1; at < text.size(); ++at) {
        if (quotesMatter && text[at] == '"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (ChatLineBeginsAt(text, at) || ProvenDepartureLength(text, at) || ListOfANewcomerBeginsAt(text, at))
            return at;
        // No list holds a blank outside its quotes: a chat line of a name
        // this very list brings ends it; and so does the next list, once a
        // newcomer has registered.
        if (kind == Protocol::GuestReceives::List
            && (ChatLineOfNewEntryBeginsAt(text, at) || NextListBeginsAt(text, at)))
            return at;
    }
    return text.size();
}

bool HostTextReader::ChatLineBeginsAt(const QByteArray &text, qsizetype at) const
{
    if (at + 1 >= text.size() || text[at + 1] != '<')
        return false;
    if (hostName && Protocol::ChatLineOfBeginsAt(text, at, *hostName))
        return true;
    for (const QByteArray &name : participants)
        if (Protocol::ChatLineOfBeginsAt(text, at, name))
            return true;
    return false;
}

bool HostTextReader::ListOfANewcomerBeginsAt(const QByteArray &text, qsizetype at) const
{
    // The host's list after a registration: the list as it is, and one more.
    return !participants.isEmpty() && text[at] == '#'
           && text.mid(at + 1).startsWith(Protocol::EncodeList(participants) + ',');
}

bool HostTextReader::NextListBeginsAt(const QByteArray &list, qsizetype at) const
{
    if (list[at] != '#')
        return false;
    const QList<QByteArray> before = Protocol::DecodeList(list.mid(1, at - 1));
    return !before.isEmpty() && list.mid(at + 1).startsWith(Protocol::EncodeList(before) + ',');
}

bool HostTextReader::ChatLineOfNewEntryBeginsAt(const QByteArray &list, qsizetype at) const
{
    if (at + 1 >= list.size() || list[at] < '0' || list[at] > '9' || list[at + 1] != '<')
        return false;
    for (const QByteArray &entry : Protocol::DecodeList(list.mid(1, at - 1)))
        if (Protocol::ChatLineOfBeginsAt(list, at, entry))
            return true;
    return false;
}

qsizetype HostTextReader::ProvenDepartureLength(const QByteArray &text, qsizetype at) const
{
    if (text[at] != '-' || at + 3 > text.size())
        return 0;
    const QByteArray digits = text.mid(at + 1, 2);
    if (digits[0] < '0' || digits[0] > '9' || digits[1] < '0' || digits[1] > '9')
        return 0;
    const int position = (digits[0] - '0') * 10 + (digits[1] - '0');
    if (position >= participants.size())
        return 0;
    QList<QByteArray> after = participants;
    after.removeAt(position);
    // Inside a text, a departure that leaves nobody proves nothing: the guest
    // reading it is always on the list it gets.
    if (after.isEmpty() && at > 0)
        return 0;
    const QByteArray list = Protocol::EncodeList(after);
    if (text.mid(at + 3, list.size()) != list)
        return 0;
    // The list must end there, where another text begins, or where nothing does.
    const qsizetype end = at + 3 + list.size();
    const bool listClosed = end == text.size() || (list.endsWith('"') && text[end] != ',');
    if (listClosed || ChatLineBeginsAt(text, end) || Protocol::KnownHostTextLength(text.mid(end)) > 0)
        return end - at;
    return 0;
}
