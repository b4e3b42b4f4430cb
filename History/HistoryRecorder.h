#pragma once

#include "HistoryStore.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

struct ShownText;

// Keeps every text the chat view shows in the history, chat by chat. Texts
// are written together, in one transaction, half a second after the
// first of them at most, so the chat never waits for the disk and a crash
// loses no more than that. A write that fails pauses the history, once, with
// the reason; the chat goes on.
class HistoryRecorder : public QObject {
    Q_OBJECT
public:
    // `chatNow` tells, as a chat starts, who we are in it: host or guest, the
    // host's address and port, and our nickname.
    HistoryRecorder(HistoryStore &store, std::function<KeptChat()> chatNow, QObject *parent = nullptr);
    ~HistoryRecorder() override;

    void TextShown(const ShownText &text);
    // The chat ended without an end line (host mode closed, the program ends).
    void ChatEnded();
    // Writes what waits, now.
    void Flush();
    bool IsPaused() const { return pausedFor.has_value(); }
    // The user's switch: off stops the writing at once (what is kept stays);
    // on keeps the chats that start from then on.
    void SetKeeping(bool on);

    static constexpr int kFlushMs = 500;

signals:
    // The history stopped keeping texts; why, for the user.
    void paused(const QString &why);

private:
    void StartChat();
    void Pause(const QString &why);

    HistoryStore &store;
    std::function<KeptChat()> chatNow;
    qint64 chat = 0; // none before the first start line
    QStringList names;
    bool namesChanged = false;
    QList<KeptText> waiting;
    QTimer flushing;
    std::optional<QString> pausedFor;
    bool keeping = true;
};
