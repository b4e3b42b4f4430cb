#pragma once

#include "LoopbackPeer.h"

#include <QByteArray>
#include <QList>

// A guest that is only a plain socket: everything it receives is kept, and
// the test takes it piece by piece, however the pieces arrived.
struct RawGuest {
    QByteArray name;
    LoopbackPeer peer;
    QByteArray received;
    qsizetype taken = 0;

    bool Connect(quint16 port, const char *source = nullptr) { return peer.Connect(port, 0, source); }
    // Connects and registers under the nickname.
    bool Join(quint16 port, const QByteArray &nickname, const char *source = nullptr);
    void Send(const QByteArray &text);
    // Keeps what has arrived, without waiting.
    void Read() { received += peer.ReadAvailable(); }

    // The next bytes that arrive are exactly these.
    bool Expect(const QByteArray &text);
    // Nothing has arrived beyond what was taken.
    bool NothingMore();
    // The host ends the connection, with nothing more sent.
    bool Ends();
    // How often the text came, whatever came around it.
    qsizetype Times(const QByteArray &text) const { return received.count(text); }
    // The texts came in this order, other texts possibly in between.
    bool HasInOrder(const QList<QByteArray> &texts) const;
};
