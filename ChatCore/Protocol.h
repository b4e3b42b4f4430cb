#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The texts between host and guests, byte for byte. There is no framing: one
// text is one send, and whatever one read returns (at most 1024 bytes) is
// taken as one message.
//
//   host -> new guest   "Hello!  Welcome to " H "'s coupon."
//   host -> new guest   "Welcome, but Host " H " is busy. The Host promises to reply the next time."
//   host -> others      "New guest coming from address: " A
//   host -> refused     "Sorry!  You are not in my list."
//   host -> refused     "Sorry!  This chat is full."
//   host -> all         "Guest from " A " no invited and Host closed door."
//   guest -> host       " " N                     registration, once
//   host -> all         "#" L                     the participant list
//   guest -> host       C "<" N "> " T            a chat line, relayed to all
//   host -> all         C "<" H "> " T            the host's own chat line
//   host -> all         "-" DD L                  a departure: DD its list position
//   host -> all         "VanuServer is Down"      the host program ends
//   host -> refused     "Sorry!  The name " N " is taken here."    a registration refused,
//                       "Sorry!  A name is needed here."           and why; then the host
//                       "Sorry!  That name is too long here."      closes the connection
//                       "Sorry!  That name holds a control character."
//
// H, N: nicknames; A: the guest's dotted address; C: the colour digit;
// T: the typed line; L: the list text; DD: two or more decimal digits.
namespace Protocol {

// The most that one read returns: a text longer than this arrives in pieces.
constexpr qsizetype kReadSize = 1024;

// The longest typed text whose chat line, with this nickname, fits one read
// (1000 at most, the input line's own limit).
int LongestTypedText(qsizetype nicknameSize);

QByteArray Greeting(const QByteArray &hostNickname);
QByteArray BusyGreeting(const QByteArray &hostNickname);
QByteArray ArrivalNotice(const QByteArray &address);
QByteArray Refusal();
QByteArray ChatFull();
QByteArray RefusalNotice(const QByteArray &address);
QByteArray Registration(const QByteArray &nickname);
QByteArray ListMessage(const QList<QByteArray> &participants);
QByteArray ChatLine(char colourDigit, const QByteArray &nickname, const QByteArray &typed);
QByteArray Departure(int position, const QList<QByteArray> &participantsAfter);
QByteArray ServerDown();

// Why a registration is refused.
enum class NameRefusal { Taken, Empty, TooLong, ControlCharacter };
// The longest name the host takes, in bytes of the code page.
constexpr qsizetype kLongestName = 32;
QByteArray NameRefused(NameRefusal why, const QByteArray &name);
// The name that a "taken" refusal names; nullopt for any other text.
std::optional<QByteArray> TakenNameIn(const QByteArray &text);

// The list text: entries joined by commas; an entry holding a character of
// code 1 to 32, a double quote or a comma is quoted, its quotes doubled, and
// so is an empty last entry (a list of one empty entry is two double quotes);
// no entries, no text.
QByteArray EncodeList(const QList<QByteArray> &entries);
// The guest's reading of a list text; a NUL ends it.
QList<QByteArray> DecodeList(const QByteArray &text);

// A departing guest's list position: two digits below 10 ("04"), else as it is ("12").
QByteArray DepartureIndex(int position);
// The position a departure names: its second and third characters, which
// must be two decimal digits. Throws EConvertError for anything else.
int DeparturePosition(const QByteArray &departure);

enum class HostReceives { Registration, ChatLine, ControlText };
// What a text from a guest is: a registration (a leading blank), a control
// text that only the host may send (a leading "#" or "-"), or a chat line
// (anything else, the empty text included).
HostReceives ClassifyFromGuest(const QByteArray &text);

enum class GuestReceives { List, Departure, Shown };
GuestReceives ClassifyFromHost(const QByteArray &text);

// The length of the host's text of a known, whole form (a greeting, a
// notice, a refusal) that `text` begins with; 0 when it begins with none.
qsizetype KnownHostTextLength(const QByteArray &text);
// The host's nickname in a greeting, busy or not; nullopt for any other text.
std::optional<QByteArray> HostNameInGreeting(const QByteArray &text);

// A chat line: a colour digit, then "<" and the sender's nickname.
bool IsChatLine(const QByteArray &text);
// Where a chat line of this sender may begin: a colour digit, "<", the
// nickname and "> ". True when one begins at `at`.
bool ChatLineOfBeginsAt(const QByteArray &text, qsizetype at, const QByteArray &nickname);
// The name a chat line gives its sender ("<" to the first ">"); empty when it gives none.
QByteArray NameInChatLine(const QByteArray &text);

} // namespace Protocol
