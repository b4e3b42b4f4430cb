#pragma once

#include "Protocol.h"

#include <QByteArray>
#include <QList>

// The guest's reading of what the host sends. There is no framing: what one
// read returns is one text, except that a read which fills the whole buffer
// was cut short, and its rest follows at once; and the refusal comes glued to
// the notice after it. The reader joins the pieces of a text, parts the
// refusal from its notice and says what each text is.
class HostTextReader {
public:
    struct Text {
        Protocol::GuestReceives kind = Protocol::GuestReceives::Shown;
        QByteArray bytes;
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
    // A new connection: nothing held, nothing to go on with.
    void Clear();

private:
    QList<Text> Release(bool cutShort);

    QByteArray held;
    // The next text goes on with one that was given in pieces.
    bool continuesText = false;
};
