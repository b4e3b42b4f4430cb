#pragma once

#include "FrameReader.h"
#include "PeerAbuse.h"
#include "TextEncoding.h"
#include "Transport.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <optional>
#include <utility>

class CodePage;

// A participant as a keys frame names them: their name, the key they proved
// (empty for none) and the frame kinds they read (as a hello names them).
struct KeyedParticipant {
    QString name;
    QByteArray key;
    QByteArray features;
};
QByteArray keysBody(const QList<KeyedParticipant> &participants);
// A keys frame's participants; a line that is not whole is passed over.
QList<KeyedParticipant> participantsOfKeys(const QByteArray &body);

// A text that came whole on a link, with its kind; a text of version 1 or of
// a plain link is one of the plain protocol, and counts as a chat frame.
struct LinkText {
    FrameKind kind = FrameKind::Chat;
    QByteArray bytes;
};

// One connection's texts as a session reads and writes them: as they are on
// a plain connection, or in frames of version 1 or 2 on a secure one (see
// FrameReader.h for the frames and their kinds).
class ChatLink {
public:
    explicit ChatLink(Framing framing = Framing::None) : framing(framing) { }

    Framing textFraming() const { return framing; }
    bool isFramed() const { return framing != Framing::None; }
    // How texts are written on a link of this framing: UTF-8 in version 2.
    static TextEncoding encodingOf(Framing framing);
    TextEncoding textEncoding() const { return encodingOf(framing); }

    // The bytes that carry a text of this kind on a link of this framing.
    static QByteArray bytes(Framing framing, FrameKind kind, const QByteArray &text);
    // This program's hello, for a link of version 2.
    static QByteArray hello();

    // A framed link: takes in what a read brought.
    void take(const QByteArray &bytes);
    // A whole frame waits to be read.
    bool hasFrame() const { return reader.hasFrame(); }
    // The next text that came whole; a hello is kept, and a frame of a kind
    // this copy does not know, or one before the hello, is dropped and
    // counted, never given. A text of
    // version 2 is well-formed UTF-8: what is malformed in it is marked so.
    std::optional<LinkText> nextText();
    // The peer sent what no honest peer sends: a frame longer than any, or
    // empty frames without end. The connection is to be ended.
    bool isBad() const { return bad || reader.isBad(); }

    // The peer's hello, once it came: "program=..." and "features=...".
    const QByteArray &peerHello() const { return peersHello; }
    // Frames dropped since the last call.
    int takeDroppedFrames() { return std::exchange(dropped, 0); }

    // Bytes for the peer that wait while it has not taken those sent before.
    // Bytes that supersede take the place of the last ones waiting when
    // those supersede too: a newer list makes an older one needless.
    void wait(const QByteArray &bytes, bool supersedes);
    bool hasWaiting() const { return !waiting.isEmpty(); }
    qsizetype waitingBytes() const { return waitingSize; }
    QByteArray takeWaiting();
    void dropWaiting();

private:
    // A peer over its empty frames is bad.
    void countEmptyFrames();

    Framing framing;
    FrameReader reader;
    QByteArray peersHello;
    bool helloCame = false;
    int dropped = 0;
    bool bad = false;
    QList<QByteArray> waiting;
    qsizetype waitingSize = 0;
    bool lastSupersedes = false;
    // A peer that sends empty frames without end costs the host a core and
    // the other guests their latency.
    PeerAbuse emptyFrames{256, std::chrono::seconds(1)};
};

// A text for several links at once: its bytes made once for each framing,
// in that framing's encoding.
class Outgoing {
public:
    explicit Outgoing(const CodePage &codePage) : codePage(&codePage) { }

    void add(FrameKind kind, const QByteArray &text, TextEncoding encoding = TextEncoding::CodePage);
    bool isEmpty() const { return texts.isEmpty(); }
    // Made the first time a link of this framing needs them: a chat of plain
    // guests frames nothing.
    const QByteArray &bytesFor(Framing framing) const;

private:
    struct Text {
        FrameKind kind;
        QByteArray bytes;
        TextEncoding encoding;
    };
    const CodePage *codePage;
    QList<Text> texts;
    mutable std::array<std::optional<QByteArray>, 4> made; // by Framing
};
