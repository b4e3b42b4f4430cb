#include "HostTextReader.h"

#include "RuntimeErrors.h"

#include <algorithm>
#include <utility>

QList<HostTextReader::Text> HostTextReader::take(const QByteArray &piece)
{
    held += piece;
    const bool cutShort = piece.size() == Protocol::kReadSize;
    if (cutShort && held.size() < kLongestJoinedText)
        return {};
    return release(cutShort);
}

QList<HostTextReader::Text> HostTextReader::takeWhole(const QByteArray &text, bool mayHoldSeveral)
{
    if (mayHoldSeveral) {
        held += text;
        return release(false);
    }
    return {read(Protocol::ClassifyFromHost(text), text)};
}

QList<HostTextReader::Text> HostTextReader::takeHeld()
{
    if (held.isEmpty())
        return {};
    return release(false);
}

void HostTextReader::clear()
{
    held.clear();
    continuesText = false;
    setParticipants({});
    hostName.reset();
}

QList<HostTextReader::Text> HostTextReader::release(bool cutShort)
{
    QByteArray text = std::exchange(held, QByteArray());
    // The rest of a text that was cut short is never taken for a list or a departure.
    bool continuation = std::exchange(continuesText, cutShort);
    QList<Text> texts;
    do {
        const Protocol::GuestReceives kind =
            continuation ? Protocol::GuestReceives::Shown : Protocol::ClassifyFromHost(text);
        continuation = false;
        const qsizetype end = endOfFirstText(text, kind);
        texts << read(kind, text.left(end));
        text.remove(0, end);
    } while (!text.isEmpty());
    return texts;
}

HostTextReader::Text HostTextReader::read(Protocol::GuestReceives kind, const QByteArray &bytes)
{
    Text text;
    text.kind = kind;
    text.bytes = bytes;
    switch (kind) {
    case Protocol::GuestReceives::List:
        setParticipants(Protocol::DecodeList(bytes.mid(1)));
        text.participants = participants;
        break;
    case Protocol::GuestReceives::Departure:
        try {
            text.position = Protocol::DeparturePosition(bytes);
        } catch (const EConvertError &) {
            break; // the guest's handler reports it
        }
        if (text.position < participants.size()) {
            QList<QByteArray> after = participants;
            text.departed = after.takeAt(text.position);
            setParticipants(std::move(after));
        }
        break;
    case Protocol::GuestReceives::Shown:
        if (std::optional<QByteArray> name = Protocol::HostNameInGreeting(bytes))
            hostName = std::move(name);
        break;
    }
    return text;
}

void HostTextReader::setParticipants(QList<QByteArray> entries)
{
    participants = std::move(entries);
    participantsWritten = participants.size() <= kMostProvenEntries ? Protocol::EncodeList(participants) : QByteArray();
}

qsizetype HostTextReader::endOfFirstText(const QByteArray &text, Protocol::GuestReceives kind) const
{
    if (kind == Protocol::GuestReceives::Departure)
        if (const qsizetype length = provenDepartureLength(text, 0, participants))
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
        if (chatLineBeginsAt(text, at) || provenDepartureLength(text, at, participants)
            || listWithANewcomerBeginsAt(text, at, participantsWritten))
            return at;
        // No list holds a blank outside its quotes: a host text of its exact
        // form (each has blanks) ends it, and so does what this very list
        // leads to.
        if (kind == Protocol::GuestReceives::List && (hostTextBeginsAt(text, at) || sequelOfListBeginsAt(text, at)))
            return at;
    }
    return text.size();
}

bool HostTextReader::chatLineBeginsAt(const QByteArray &text, qsizetype at) const
{
    if (at + 1 >= text.size() || text[at + 1] != '<')
        return false;
    if (hostName && Protocol::ChatLineOfBeginsAt(text, at, *hostName))
        return true;
    if (participants.size() > kMostProvenEntries)
        return false;
    for (const QByteArray &name : participants)
        if (Protocol::ChatLineOfBeginsAt(text, at, name))
            return true;
    return false;
}

bool HostTextReader::hostTextBeginsAt(const QByteArray &text, qsizetype at)
{
    // Every such text begins with a capital; the rest of the text is looked at in place.
    if (at >= text.size() || text[at] < 'A' || text[at] > 'Z')
        return false;
    return Protocol::KnownHostTextLength(QByteArray::fromRawData(text.constData() + at, text.size() - at)) > 0;
}

bool HostTextReader::listWithANewcomerBeginsAt(const QByteArray &text, qsizetype at, const QByteArray &listWritten)
{
    // The host's list after a registration: the list as it was, and one more.
    const qsizetype comma = at + 1 + listWritten.size();
    return !listWritten.isEmpty() && comma < text.size() && text[at] == '#' && text[comma] == ','
           && QByteArrayView(text).sliced(at + 1).startsWith(listWritten);
}

bool HostTextReader::sequelOfListBeginsAt(const QByteArray &list, qsizetype at) const
{
    const char first = list[at];
    if (first == '#') // the host writes the list as it wrote it before, and one more
        return listWithANewcomerBeginsAt(list, at, QByteArray::fromRawData(list.constData() + 1, at - 1));
    const bool chatLine = first >= '0' && first <= '9' && at + 1 < list.size() && list[at + 1] == '<';
    if ((first != '-' && !chatLine) || at > kLongestProvenList
        || std::count(list.cbegin(), list.cbegin() + at, ',') >= kMostProvenEntries)
        return false;
    const QList<QByteArray> entries = Protocol::DecodeList(list.mid(1, at - 1));
    if (entries.isEmpty())
        return false;
    if (first == '-')
        return provenDepartureLength(list, at, entries) > 0;
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&](const QByteArray &entry) { return Protocol::ChatLineOfBeginsAt(list, at, entry); });
}

qsizetype HostTextReader::provenDepartureLength(const QByteArray &text, qsizetype at,
                                                const QList<QByteArray> &before) const
{
    if (text[at] != '-' || at + 3 > text.size() || before.size() > kMostProvenEntries)
        return 0;
    const QByteArray digits = text.mid(at + 1, 2);
    if (digits[0] < '0' || digits[0] > '9' || digits[1] < '0' || digits[1] > '9')
        return 0;
    const int position = (digits[0] - '0') * 10 + (digits[1] - '0');
    if (position >= before.size())
        return 0;
    QList<QByteArray> after = before;
    after.removeAt(position);
    // Inside a text, a departure that leaves nobody proves nothing: the guest
    // reading it is always on the list it gets.
    if (after.isEmpty() && at > 0)
        return 0;
    const QByteArray list = Protocol::EncodeList(after);
    if (!QByteArrayView(text).sliced(at + 3).startsWith(list))
        return 0;
    // The list must end there, where another text begins, or where nothing does.
    const qsizetype end = at + 3 + list.size();
    const bool listClosed = end == text.size() || (list.endsWith('"') && text[end] != ',');
    if (listClosed || chatLineBeginsAt(text, end) || hostTextBeginsAt(text, end)
        || listWithANewcomerBeginsAt(text, end, list) || provenDepartureLength(text, end, after))
        return end - at;
    return 0;
}
