#include "PrivateWiring.h"

#include "GuestSession.h"
#include "HostSession.h"
#include "PrivateChat.h"

void ConnectPrivateChat(PrivateChat &chat, HostSession &session)
{
    QObject::connect(&session, &HostSession::guestsKeyedChanged, &chat, [&chat, &session] {
        PrivateChat::Routes routes;
        routes.direct = [&session](const QByteArray &key, FrameKind kind, const QByteArray &body) {
            return session.sendPrivate(key, kind, body);
        };
        chat.setRoutes(routes);
        // Every guest is at the other end of the host's own link with it.
        QList<PrivateChat::Person> people;
        for (const KeyedParticipant &guest : session.guestsKeyed())
            people << PrivateChat::Person{guest.name, guest.key, guest.features, true};
        chat.setPeople(people, chat.ownKey());
    });
    QObject::connect(&session, &HostSession::privateFrame, &chat, &PrivateChat::directFrame);
}

void ConnectPrivateChat(PrivateChat &chat, GuestSession &session)
{
    QObject::connect(&session, &GuestSession::participantsKeyed, &chat,
                     [&chat, &session](const QList<KeyedParticipant> &participants) {
        PrivateChat::Routes routes;
        routes.direct = [&session](const QByteArray &, FrameKind kind, const QByteArray &body) {
            return session.sendFrame(kind, body);
        };
        routes.tunnel = [&session](const QString &name, const QByteArray &records) {
            return session.sendFrame(FrameKind::Tunnel, name.toUtf8() + '\n' + records);
        };
        chat.setRoutes(routes);
        // The host comes first. Its key is the one its link proved, which
        // the guest pinned, not the one it announces; the others' are the
        // host's word, which their own sessions then check.
        QList<PrivateChat::Person> people;
        for (const KeyedParticipant &participant : participants) {
            const bool isHost = people.isEmpty();
            if (!isHost && participant.key == chat.ownKey())
                continue;
            people << PrivateChat::Person{participant.name, isHost ? session.hostKey() : participant.key,
                                          participant.features, isHost};
        }
        chat.setPeople(people, session.hostKey());
    });
    QObject::connect(&session, &GuestSession::privateFrame, &chat, [&chat, &session](FrameKind kind, const QByteArray &body) {
        chat.directFrame(session.hostKey(), kind, body);
    });
    QObject::connect(&session, &GuestSession::tunnelRecords, &chat, &PrivateChat::tunnelRecords);
    QObject::connect(&session, &GuestSession::linkEnded, &chat, &PrivateChat::linkDown);
}
