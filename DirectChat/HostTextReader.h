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
// - after a greeting, notice or refusal of its exact form;
// - after a departure whose list is the list that the departure leaves;
// - where a chat line of a participant or of the host begins (outside the
//   quotes of a list), or in a list, of a name that list brings;
// - where a departure of a valid place begins, with the list it leaves;
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
    QList<Text> Take(const QByteArray &piece);
    // The rest of a text that was cut short is not coming (the wait for it
    // ran out, or the connection ended): gives what is held, if anything.
    QList<Text> TakeHeld();
    bool WaitsForRest() const { return !held.isEmpty(); }
    // A new connection: nothing held, no participants, no host known.
    void Clear();

    const QList<QByteArray> &Participants() const { return participants; }

private:
    QList<Text> Release(bool cutShort);
    // Where the text that begins `text` ends: the first place another is known to begin.
    qsizetype EndOfFirstText(const QByteArray &text, Protocol::GuestReceives kind) const;
    // The length of a departure at `at` whose place and list are the ones it
    // would leave here; 0 when there is none.
    qsizetype ProvenDepartureLength(const QByteArray &text, qsizetype at) const;
    bool ChatLineBeginsAt(const QByteArray &text, qsizetype at) const;
    // A list begins at `at` that is the list as it is with a newcomer added.
    bool ListOfANewcomerBeginsAt(const QByteArray &text, qsizetype at) const;
    // In a list text: the list that a newcomer's registration makes of it begins at `at`.
    bool NextListBeginsAt(const QByteArray &list, qsizetype at) const;
    // In a list text: a chat line of one of the entries before it begins at `at`.
    bool ChatLineOfNewEntryBeginsAt(const QByteArray &list, qsizetype at) const;
    Text Read(Protocol::GuestReceives kind, const QByteArray &bytes);

    QByteArray held;
    // The next text goes on with one that was given in pieces.
    bool continuesText = false;
    QList<QByteArray> participants;
    std::optional<QByteArray> hostName;
};
