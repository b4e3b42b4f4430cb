#pragma once

#include "Protocol.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The guest's reading of what the host sends, and the participant list it
// keeps from it (the friends window mirrors that list).
//
// There is no framing: what one read returns is one text, except that a read
// which fills the whole buffer was cut short and its rest follows at once,
// and that texts sent together may arrive together. The reader joins the
// pieces of a text, and parts texts where another one is known to begin:
// - after a greeting, notice or refusal of its exact form, and where one
//   begins in a list (outside its quotes);
// - after a departure whose list is the list that the departure leaves;
// - where a chat line of a participant or of the host begins (outside the
//   quotes of a list), or in a list, of a name that list brings;
// - where a departure of a valid place begins, with the list it leaves (in
//   a list, the departure from that list);
// - where the list as it is (or as the list being read has it), with a
//   newcomer added, begins.
// A text that could be parted wrongly is not parted.
class HostTextReader {
public:
    struct Text {
        Protocol::GuestReceives kind = Protocol::GuestReceives::Shown;
        QByteArray bytes;
        // List: the participants from now on.
        QList<QByteArray> participants;
        // Departure: the participant who left and the place it had; nothing
        // when the departure names no participant.
        std::optional<QByteArray> departed;
        int position = -1;
    };

    // A host that streams without a break is shown in pieces of this size.
    static constexpr qsizetype kLongestJoinedText = 64 * 1024;

    // Takes what one read returned. Gives the texts it completes: none while
    // a text that was cut short waits for its rest.
    QList<Text> take(const QByteArray &piece);
    // Takes a text that came whole, in a frame of its own: nothing waits for
    // a rest. `mayHoldSeveral`: texts sent together may have been framed as
    // one (a host of version 1 relays a burst so), and are parted as a
    // read's are.
    QList<Text> takeWhole(const QByteArray &text, bool mayHoldSeveral);
    // The rest of a text that was cut short is not coming (the wait for it
    // ran out, or the connection ended): gives what is held, if anything.
    QList<Text> takeHeld();
    bool waitsForRest() const { return !held.isEmpty(); }
    // A new connection: nothing held, no participants, no host known.
    void clear();

private:
    // Where a text ends is looked for at every byte, and only lists of the
    // size a host sends prove anything there: a hostile host's list of
    // 64 KiB must not cost its square. A departure's place has two digits,
    // so no honest list is longer than this.
    static constexpr qsizetype kMostProvenEntries = 100;
    // Inside a list, the part before a place is read again only this far.
    static constexpr qsizetype kLongestProvenList = 4 * 1024;

    QList<Text> release(bool cutShort);
    void setParticipants(QList<QByteArray> entries);
    // Where the text that begins `text` ends: the first place another is known to begin.
    qsizetype endOfFirstText(const QByteArray &text, Protocol::GuestReceives kind) const;
    // The length of a departure at `at` from the list `before` whose place
    // and list are the ones it would leave, and after which a text is known
    // to begin; 0 when there is none.
    qsizetype provenDepartureLength(const QByteArray &text, qsizetype at, const QList<QByteArray> &before) const;
    bool chatLineBeginsAt(const QByteArray &text, qsizetype at) const;
    // A greeting, notice or refusal of its exact form begins at `at`.
    static bool hostTextBeginsAt(const QByteArray &text, qsizetype at);
    // A list begins at `at` that is the list written `listWritten` with a newcomer added.
    static bool listWithANewcomerBeginsAt(const QByteArray &text, qsizetype at, const QByteArray &listWritten);
    // In a list text: what that very list leads to begins at `at`: a chat
    // line of one of its entries, the list a newcomer makes of it, or a
    // departure from it.
    bool sequelOfListBeginsAt(const QByteArray &list, qsizetype at) const;
    Text read(Protocol::GuestReceives kind, const QByteArray &bytes);

    QByteArray held;
    // The next text goes on with one that was given in pieces.
    bool continuesText = false;
    QList<QByteArray> participants;
    // The participants as the host writes them; empty for a list too long to prove anything.
    QByteArray participantsWritten;
    std::optional<QByteArray> hostName;
};
