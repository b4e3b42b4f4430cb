#pragma once

#include "Protocol.h"
#include "TextEncoding.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class CodePage;

// The host's participants: for each admitted connection where it came from,
// and, once it has registered, its name and its place in the participant
// list. The list text and the departure text are made from here. It has no
// widget: the friends window's list mirrors it.
//
// It also reads what each connection sends, by the host's rules:
// - A name is taken only when it is not empty, not longer than 32 bytes in
//   the code page, holds no control character, and is neither the host's nor
//   another connection's name, nor looks like one, nor is the same in the
//   code page; a second registration renames under the same rules.
// - Each connection's texts are in its link's encoding (the code page, or
//   UTF-8 on a link of version 2); the names are kept, and the list and
//   departure texts made, in UTF-8.
// - A connection speaks only in its own name: a chat line is relayed when it
//   begins with a colour digit, "<", the name its connection registered and
//   "> ", and holds no line break. Anything else is not relayed, and said so
//   once for each guest.
// - There is no framing, so texts that came together are parted where a
//   chat line of the connection's own name begins (a registration ends where
//   the guest's first line begins), and nowhere else. A read that filled the
//   whole buffer while more waited keeps its last text back for the rest,
//   which follows at once, or after a lost segment comes again.
// - A line that comes before its sender's registration waits for it, for a
//   few seconds.
class HostRoster {
public:
    struct Peer {
        QString address;
        QString port;
    };
    // Where a registration put its name.
    struct Entry {
        int row = -1;
        bool added = false; // a new entry, not a rename
    };
    // What the host does with one text of a guest.
    struct GuestText {
        enum class Action {
            Registered, // `entry`: where the name went; every guest gets the list
            Refused,    // `refusal`: the name is refused; the guest is told why and goes
            Relay,      // `bytes`: a line of the guest's own, shown and sent to every guest
            NotRelayed, // `bytes`: a line that is not the guest's own, or breaks a line
        };
        Action action = Action::Relay;
        int socket = -1;
        // In the connection's own encoding.
        QByteArray bytes;
        TextEncoding encoding = TextEncoding::CodePage;
        Entry entry;
        Protocol::NameRefusal refusal = Protocol::NameRefusal::Taken;
        // NotRelayed: the line is in the guest's own name but breaks a line.
        bool breaksLine = false;
    };

    // A read that fills the whole buffer waits this long at most for its rest,
    // which a lost segment may hold back for a retransmission timeout.
    static constexpr qint64 kRestOfTextWaitMs = 3000;
    // No line a guest types is longer; a longer text is not kept back for its rest.
    static constexpr qsizetype kLongestHeldLine = 2 * Protocol::kReadSize;
    // A line waits this long at most for its sender's registration.
    static constexpr qint64 kRegistrationWaitMs = 3000;
    // What waits for a registration, at most; the rest is not relayed at once.
    static constexpr qsizetype kMostWaiting = 16 * 1024;

    explicit HostRoster(const CodePage &codePage) : codePage(codePage) { }

    // Names may be held for others (by their keys): a name held for
    // somebody other than the connection is taken.
    void holdNamesBy(std::function<bool(int socket, const QString &name)> heldForAnother)
    {
        nameHeldForAnother = std::move(heldForAnother);
    }

    // A connection is taken in, from this address and port, as they were
    // when it was accepted, writing its texts in this encoding.
    void admit(int socket, const Peer &peer, TextEncoding encoding = TextEncoding::CodePage);
    // Where an admitted connection came from; empty texts for one that is not.
    Peer peerOf(int socket) const;
    // The connection has gone: forgets it. Gives the row its entry had, if it registered.
    std::optional<int> Remove(int socket);
    void Clear();

    // Takes what one read from the connection returned, at `nowMs`; no guest
    // may take `hostName` (in UTF-8). `moreWaits`: more has come than the read took, so
    // a read that filled the buffer keeps its last text back for the rest.
    // Gives what to do, in order.
    QList<GuestText> read(int socket, const QByteArray &piece, const QByteArray &hostName, qint64 nowMs,
                          bool moreWaits = true);
    // What waited and waits no longer at `nowMs`.
    QList<GuestText> expire(qint64 nowMs);
    // The connection is not read before `untilMs`: what it left cut short
    // waits for its rest until then, and a little longer.
    void postpone(int socket, qint64 untilMs);
    // When something that waits is to be given up on, if anything waits.
    std::optional<qint64> NextDeadline() const;

    // The registered names, in UTF-8, in order of registration.
    const QList<QByteArray> &names() const { return registered; }
    // The row of the connection's name, -1 while it has none; the connection of a row.
    qsizetype rowOf(int socket) const { return sockets.indexOf(socket); }
    int socketAt(qsizetype row) const { return sockets.at(row); }
    // What every guest is sent, in UTF-8: the whole list, or the list after a departure from `row`.
    QByteArray listText() const;
    QByteArray departureText(int row) const;

private:
    struct Guest {
        int socket = -1;
        Peer peer;
        TextEncoding encoding = TextEncoding::CodePage;
        // In its own encoding, as its chat lines begin with it.
        std::optional<QByteArray> name;
        // The last text of a read that filled the buffer, until its rest comes.
        QByteArray rest;
        qint64 restDeadline = 0;
        // Lines that came before the registration.
        QList<QByteArray> early;
        qint64 earlyDeadline = 0;
        // It was told once that a line of its was not relayed.
        bool warned = false;
        // Its registration was refused: nothing more of it counts.
        bool refused = false;
    };

    Guest *find(int socket);
    const Guest *find(int socket) const;
    qsizetype IndexOf(int socket) const;
    void take(Guest &guest, const QByteArray &text, const QByteArray &hostName, qint64 nowMs, QList<GuestText> &out);
    void takeRegistration(Guest &guest, const QByteArray &text, const QByteArray &hostName, QList<GuestText> &out);
    void takeLines(Guest &guest, const QByteArray &text, QList<GuestText> &out);
    void takeLine(Guest &guest, const QByteArray &line, QList<GuestText> &out);
    Entry enrol(int socket, const QByteArray &name);
    std::optional<Protocol::NameRefusal> refusalOf(const Guest &guest, const QByteArray &name,
                                                   const QByteArray &hostName) const;

    const CodePage &codePage;
    std::function<bool(int socket, const QString &name)> nameHeldForAnother;
    QList<Guest> guests;
    // For each name, the connection that registered it.
    QList<int> sockets;
    QList<QByteArray> registered;
};
