#include "HistoryRecorder.h"

#include "ChatText.h"

#include <utility>

HistoryRecorder::HistoryRecorder(HistoryStore &store, std::function<KeptChat()> chatNow, QObject *parent)
    : QObject(parent), store(store), chatNow(std::move(chatNow))
{
    flushing.setSingleShot(true);
    flushing.setInterval(kFlushMs);
    connect(&flushing, &QTimer::timeout, this, &HistoryRecorder::Flush);
}

HistoryRecorder::~HistoryRecorder()
{
    ChatEnded();
}

void HistoryRecorder::SetKeeping(bool on)
{
    if (!on)
        ChatEnded();
    keeping = on;
}

void HistoryRecorder::TextShown(const ShownText &shown)
{
    if (pausedFor || !keeping)
        return;
    if (shown.kind == ShownText::Kind::Start)
        StartChat();
    if (chat == 0)
        return; // the banner before any chat
    KeptText text;
    text.chat = chat;
    text.at = QDateTime::currentDateTimeUtc(); // kept as an instant; shown in local time
    text.kind = int(shown.kind);
    text.bytes = shown.bytes;
    text.shown = shown.text;
    if (shown.kind == ShownText::Kind::ChatLine) {
        const ChatTextParts parts = SplitChatText(shown.text);
        text.name = parts.name.mid(1, parts.name.size() - 2);
        text.colour = parts.colourIndex;
        if (!text.name.isEmpty() && !names.contains(text.name)) {
            names << text.name;
            namesChanged = true;
        }
    }
    waiting << text;
    if (!flushing.isActive())
        flushing.start();
    if (shown.kind == ShownText::Kind::End)
        ChatEnded();
}

void HistoryRecorder::StartChat()
{
    ChatEnded();
    KeptChat started = chatNow();
    started.started = QDateTime::currentDateTime();
    names = {started.nickname};
    started.names = names;
    chat = store.StartChat(started);
    if (chat == 0)
        Pause(store.LastError());
}

void HistoryRecorder::ChatEnded()
{
    Flush();
    if (chat != 0 && !pausedFor && !store.EndChat(chat, QDateTime::currentDateTime(), names))
        Pause(store.LastError());
    chat = 0;
}

void HistoryRecorder::Flush()
{
    flushing.stop();
    if (!waiting.isEmpty() && !pausedFor && !store.AddTexts(waiting))
        Pause(store.LastError());
    waiting.clear();
    if (std::exchange(namesChanged, false) && chat != 0 && !pausedFor && !store.SetNames(chat, names))
        Pause(store.LastError());
}

void HistoryRecorder::Pause(const QString &why)
{
    if (pausedFor)
        return;
    pausedFor = why;
    waiting.clear();
    emit paused(why);
}
