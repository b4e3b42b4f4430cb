#include "RawGuest.h"

#include "Protocol.h"

#include <QDebug>
#include <QTest>

bool RawGuest::Join(quint16 port, const QByteArray &nickname, const char *source)
{
    return Connect(port, source) && peer.Send(Protocol::Registration(nickname));
}

void RawGuest::Send(const QByteArray &text)
{
    QVERIFY(peer.Send(text));
}

bool RawGuest::Expect(const QByteArray &text)
{
    (void)QTest::qWaitFor(
        [&] {
            Read();
            return received.size() >= taken + text.size();
        },
        5000);
    const QByteArray next = received.mid(taken, text.size());
    taken += text.size();
    if (next == text)
        return true;
    qWarning() << "expected" << text << "but got" << next << "of" << received;
    return false;
}

bool RawGuest::NothingMore()
{
    Read();
    if (received.size() == taken)
        return true;
    qWarning() << "more arrived:" << received.mid(taken);
    return false;
}

bool RawGuest::Ends()
{
    QByteArray rest;
    const bool ended = peer.WaitForEndOfStream(&rest);
    received += rest;
    return ended && NothingMore();
}

bool RawGuest::HasInOrder(const QList<QByteArray> &texts) const
{
    qsizetype at = 0;
    for (const QByteArray &text : texts) {
        at = received.indexOf(text, at);
        if (at < 0)
            return false;
        at += text.size();
    }
    return true;
}
