#pragma once

#include "HistoryStore.h"

#include <QObject>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <functional>
#include <optional>

struct ShownText;
class HistoryWriter;

// Keeps every text the chat view shows in the history, chat by chat. Texts
// are handed on together, half a second after the first of them at most, to
// a writer in a thread of its own that keeps them in one transaction; so the
// chat never waits for the disk, and a crash loses no more than a second. A
// write that fails pauses the history, once, with the reason; the chat goes on.
class HistoryRecorder : public QObject {
    Q_OBJECT
public:
    // `chatNow` tells, as a chat starts, who we are in it: host or guest, the
    // host's address and port, and our nickname.
    HistoryRecorder(const QString &path, std::function<KeptChat()> chatNow, QObject *parent = nullptr);
    ~HistoryRecorder() override;

    void TextShown(const ShownText &text);
    // A private message with the person of that key, written by `sender`:
    // kept with the chat under way, marked as private, the key kept with it.
    void PrivateLine(const QByteArray &key, const QString &person, const QString &sender, const QString &text);
    // The chat ended without an end line (host mode closed, the program ends).
    void ChatEnded();
    // Hands on what waits, now.
    void Flush();
    // Hands on what waits and returns once the writer has kept it.
    void WriteNow();
    bool IsPaused() const { return pausedFor.has_value(); }
    // The user's switch: off stops the writing at once (what is kept stays);
    // on keeps the chats that start from then on.
    void SetKeeping(bool on);
    // The most bytes the history may hold; 0 for no limit.
    void SetLargest(qint64 bytes);

    static constexpr int kFlushMs = 500;

signals:
    // The history stopped keeping texts; why, for the user.
    void paused(const QString &why);
    // Old chats went for the largest size: said once a run.
    void trimmed();

private:
    void StartChat();
    void Pause(const QString &why);
    // Runs `write` in the writer's thread, after everything handed on before it.
    void Post(std::function<void(HistoryWriter &)> write, Qt::ConnectionType type = Qt::QueuedConnection);

    std::function<KeptChat()> chatNow;
    QThread writing;
    HistoryWriter *writer; // lives in `writing`, and goes with it
    bool inChat = false; // none before the first start line
    QStringList names; // in the order they first spoke
    QSet<QString> namesSeen;
    bool namesChanged = false;
    QList<KeptText> waiting;
    QTimer flushing;
    std::optional<QString> pausedFor;
    bool keeping = true;
};
