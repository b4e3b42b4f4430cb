#include "Protocol.h"

#include "RuntimeErrors.h"

#include <algorithm>
#include <limits>

namespace Protocol {

QByteArray Greeting(const QByteArray &hostNickname)
{
    return "Hello!  Welcome to " + hostNickname + "'s coupon.";
}

QByteArray BusyGreeting(const QByteArray &hostNickname)
{
    return "Welcome, but Host " + hostNickname + " is busy. The Host promises to reply the next time.";
}

QByteArray ArrivalNotice(const QByteArray &address)
{
    return "New guest coming from address: " + address;
}

QByteArray Refusal()
{
    return QByteArrayLiteral("Sorry!  You are not in my list.");
}

QByteArray ChatFull()
{
    return QByteArrayLiteral("Sorry!  This chat is full.");
}

QByteArray RefusalNotice(const QByteArray &address)
{
    return "Guest from " + address + " no invited and Host closed door.";
}

QByteArray Registration(const QByteArray &nickname)
{
    return ' ' + nickname;
}

QByteArray ListMessage(const QList<QByteArray> &participants)
{
    return '#' + EncodeList(participants);
}

QByteArray ChatLine(char colourDigit, const QByteArray &nickname, const QByteArray &typed)
{
    return colourDigit + ("<" + nickname + "> " + typed);
}

int LongestTypedText(qsizetype nicknameSize)
{
    const qsizetype frame = nicknameSize + 4; // C "<" N "> "
    return int(std::clamp<qsizetype>(kReadSize - frame, 0, 1000));
}

QByteArray Departure(int position, const QList<QByteArray> &participantsAfter)
{
    return '-' + DepartureIndex(position) + EncodeList(participantsAfter);
}

QByteArray ServerDown()
{
    return QByteArrayLiteral("VanuServer is Down");
}

QByteArray NameRefused(NameRefusal why, const QByteArray &name)
{
    switch (why) {
    case NameRefusal::Taken:
        return "Sorry!  The name " + name + " is taken here.";
    case NameRefusal::Empty:
        return QByteArrayLiteral("Sorry!  A name is needed here.");
    case NameRefusal::TooLong:
        return QByteArrayLiteral("Sorry!  That name is too long here.");
    case NameRefusal::ControlCharacter:
        return QByteArrayLiteral("Sorry!  That name holds a control character.");
    }
    return {};
}

namespace {

bool IsBlankOrControl(char character)
{
    const auto code = static_cast<unsigned char>(character);
    return code >= 1 && code <= 32;
}

bool NeedsQuotes(const QByteArray &entry)
{
    for (char character : entry)
        if (IsBlankOrControl(character) || character == '"' || character == ',')
            return true;
    return false;
}

void SkipBlanks(const QByteArray &text, qsizetype &at)
{
    while (at < text.size() && IsBlankOrControl(text[at]))
        ++at;
}

QByteArray QuotedEntry(const QByteArray &text, qsizetype &at)
{
    QByteArray entry;
    ++at; // the opening quote
    while (at < text.size()) {
        if (text[at] == '"') {
            if (at + 1 < text.size() && text[at + 1] == '"') {
                entry += '"';
                at += 2;
                continue;
            }
            ++at; // the closing quote
            break;
        }
        entry += text[at++];
    }
    return entry;
}

QByteArray PlainEntry(const QByteArray &text, qsizetype &at)
{
    const qsizetype start = at;
    while (at < text.size() && static_cast<unsigned char>(text[at]) > 32 && text[at] != ',')
        ++at;
    return text.mid(start, at - start);
}

} // namespace

QByteArray EncodeList(const QList<QByteArray> &entries)
{
    if (entries.size() == 1 && entries.constFirst().isEmpty())
        return QByteArrayLiteral("\"\"");
    QList<QByteArray> written;
    for (const QByteArray &entry : entries) {
        // A last entry that is empty would read as a trailing comma and be
        // lost; quoted, it survives.
        const bool emptyAtTheEnd = entry.isEmpty() && &entry == &entries.constLast();
        if (NeedsQuotes(entry) || emptyAtTheEnd)
            written << '"' + QByteArray(entry).replace("\"", "\"\"") + '"';
        else
            written << entry;
    }
    return written.join(',');
}

QList<QByteArray> DecodeList(const QByteArray &listText)
{
    const qsizetype nul = listText.indexOf('\0');
    const QByteArray text = nul < 0 ? listText : listText.left(nul);
    QList<QByteArray> entries;
    qsizetype at = 0;
    SkipBlanks(text, at);
    while (at < text.size()) {
        entries << (text[at] == '"' ? QuotedEntry(text, at) : PlainEntry(text, at));
        SkipBlanks(text, at);
        if (at < text.size() && text[at] == ',') {
            ++at;
            SkipBlanks(text, at);
        }
    }
    return entries;
}

QByteArray DepartureIndex(int position)
{
    const QByteArray digits = QByteArray::number(position);
    return position < 10 ? '0' + digits : digits;
}

int DeparturePosition(const QByteArray &departure)
{
    const QByteArray digits = departure.mid(1, 2);
    const auto isDigit = [](char character) { return character >= '0' && character <= '9'; };
    if (digits.size() != 2 || !isDigit(digits[0]) || !isDigit(digits[1]))
        throw EConvertError::NotAnInteger(QString::fromLatin1(digits));
    return (digits[0] - '0') * 10 + (digits[1] - '0');
}

HostReceives ClassifyFromGuest(const QByteArray &text)
{
    if (text.startsWith(' '))
        return HostReceives::Registration;
    if (text.startsWith('#') || text.startsWith('-'))
        return HostReceives::ControlText;
    return HostReceives::ChatLine;
}

GuestReceives ClassifyFromHost(const QByteArray &text)
{
    if (text.startsWith('#'))
        return GuestReceives::List;
    if (text.startsWith('-'))
        return GuestReceives::Departure;
    return GuestReceives::Shown;
}

namespace {

// A message's fixed text before and after its one field (a name, an address).
struct Frame {
    QByteArray before;
    QByteArray after;
};

// The frame of a message, as its own builder writes it around a stand-in field.
template <typename Builder>
Frame FrameOf(Builder build)
{
    const QByteArray field = "\x01";
    const QByteArray built = build(field);
    const qsizetype at = built.indexOf(field);
    return {built.left(at), built.mid(at + field.size())};
}

// The length of `text`'s start from the frame's fore part up to and
// including the first after part; 0 when there is none.
qsizetype FramedLength(const QByteArray &text, const Frame &frame)
{
    if (!text.startsWith(frame.before))
        return 0;
    const qsizetype at = text.indexOf(frame.after, frame.before.size());
    return at < 0 ? 0 : at + frame.after.size();
}

// The field of a text that is exactly one such message.
std::optional<QByteArray> FieldOf(const QByteArray &text, const Frame &frame)
{
    if (FramedLength(text, frame) != text.size())
        return std::nullopt;
    return text.mid(frame.before.size(), text.size() - frame.before.size() - frame.after.size());
}

bool IsDottedAddress(const QByteArray &text)
{
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() != 4)
        return false;
    for (const QByteArray &part : parts) {
        bool number = false;
        if (part.isEmpty() || part.size() > 3 || part.toInt(&number) > 255 || !number)
            return false;
    }
    return true;
}

// The length of a notice that ends with a dotted address. A digit that a
// "<" follows is a chat line's colour digit, not the address's last.
qsizetype AddressNoticeLength(const QByteArray &text, const Frame &frame)
{
    if (!text.startsWith(frame.before))
        return 0;
    qsizetype end = frame.before.size();
    while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.'))
        ++end;
    if (end < text.size() && text[end] == '<')
        --end;
    return IsDottedAddress(text.mid(frame.before.size(), end - frame.before.size())) ? end : 0;
}

// The frames of the messages with a field, made once: the guest looks for
// them in every text the host sends.
struct Frames {
    Frame arrival = FrameOf(ArrivalNotice);
    Frame refusalNotice = FrameOf(RefusalNotice);
    Frame greeting = FrameOf(Greeting);
    Frame busyGreeting = FrameOf(BusyGreeting);
    Frame taken = FrameOf([](const QByteArray &name) { return NameRefused(NameRefusal::Taken, name); });
};

const Frames &KnownFrames()
{
    static const Frames frames;
    return frames;
}

} // namespace

std::optional<QByteArray> TakenNameIn(const QByteArray &text)
{
    const std::optional<QByteArray> name = FieldOf(text, KnownFrames().taken);
    return name && !name->isEmpty() ? name : std::nullopt;
}

qsizetype KnownHostTextLength(const QByteArray &text)
{
    for (const QByteArray &exact : {Refusal(), ChatFull(), ServerDown(), NameRefused(NameRefusal::Empty, {}),
                                    NameRefused(NameRefusal::TooLong, {}),
                                    NameRefused(NameRefusal::ControlCharacter, {})})
        if (text.startsWith(exact))
            return exact.size();
    const Frames &frames = KnownFrames();
    if (const qsizetype length = AddressNoticeLength(text, frames.arrival))
        return length;
    const Frame &refusalNotice = frames.refusalNotice;
    if (const qsizetype length = FramedLength(text, refusalNotice);
        length && IsDottedAddress(*FieldOf(text.left(length), refusalNotice)))
        return length;
    for (const Frame *frame : {&frames.greeting, &frames.busyGreeting, &frames.taken})
        if (const qsizetype length = FramedLength(text, *frame))
            return length;
    return 0;
}

std::optional<QByteArray> HostNameInGreeting(const QByteArray &text)
{
    if (std::optional<QByteArray> name = FieldOf(text, KnownFrames().greeting))
        return name;
    return FieldOf(text, KnownFrames().busyGreeting);
}

bool IsChatLine(const QByteArray &text)
{
    return text.size() > 1 && text[0] >= '0' && text[0] <= '9' && text[1] == '<';
}

bool ChatLineOfBeginsAt(const QByteArray &text, qsizetype at, const QByteArray &nickname)
{
    const qsizetype size = nickname.size() + 4;
    if (at < 0 || at + size > text.size() || text[at] < '0' || text[at] > '9' || text[at + 1] != '<')
        return false;
    const QByteArrayView line = QByteArrayView(text).sliced(at + 2);
    return line.startsWith(nickname) && line.sliced(nickname.size()).startsWith("> ");
}

QByteArray NameInChatLine(const QByteArray &text)
{
    if (!IsChatLine(text))
        return {};
    const qsizetype close = text.indexOf('>');
    return close < 0 ? QByteArray() : text.mid(2, close - 2);
}

} // namespace Protocol
