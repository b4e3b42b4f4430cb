#pragma once

#include "ChatText.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// What either side of a chat tells the window: the texts to show, the
// participants who leave, and what it could not take.
class ChatSession : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A text as a peer sent it, or our own line as it went out: read, and
    // the bytes as they came, in the link's encoding.
    void received(const QString &text, const QByteArray &bytes, bool fromPeer);
    // What the user should read.
    void notice(const QString &text, ShownText::Kind kind = ShownText::Kind::Notice);
    void participantLeft(int row);
    // Something a peer sent could not be taken, outside any handler: the user is told.
    void fault(const QString &message);
};
