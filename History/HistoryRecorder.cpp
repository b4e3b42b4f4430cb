#include "HistoryRecorder.h"

#include "ChatText.h"
#include "HistoryWriter.h"

#include <utility>

HistoryRecorder::HistoryRecorder(const QString &path, std::function<KeptChat()> chatNow, QObject *parent)
    : QObject(parent), chatNow(std::move(chatNow)), writer(new HistoryWriter(path))
{
    writing.setObjectName(QStringLiteral("history"));
    writer->moveToThread(&writing);
    connect(&writing, &QThread::finished, writer, &QObject::deleteLater);
    connect(writer, &HistoryWriter::failed, this, &HistoryRecorder::Pause);
    connect(writer, &HistoryWriter::trimmed, this, &HistoryRecorder::trimmed);
    writing.start(QThread::LowPriority);
    flushing.setSingleShot(true);
    flushing.setInterval(kFlushMs);
    connect(&flushing, &QTimer::timeout, this, &HistoryRecorder::Flush);
}

HistoryRecorder::~HistoryRecorder()
{
    ChatEnded();
    Post([](HistoryWriter &) {}, Qt::BlockingQueuedConnection); // all is kept before the thread ends
    writing.quit();
    writing.wait();
}

void HistoryRecorder::Post(std::function<void(HistoryWriter &)> write, Qt::ConnectionType type)
{
    HistoryWriter *target = writer;
    QMetaObject::invokeMethod(target, [target, write = std::move(write)] { write(*target); }, type);
}

void HistoryRecorder::SetKeeping(bool on)
{
    if (!on)
        ChatEnded();
    keeping = on;
}

void HistoryRecorder::SetLargest(qint64 bytes)
{
    Post([bytes](HistoryWriter &writer) { writer.SetLargest(bytes); });
}

void HistoryRecorder::TextShown(const ShownText &shown)
{
    if (pausedFor || !keeping)
        return;
    if (shown.kind == ShownText::Kind::Start)
        StartChat();
    if (!inChat)
        return; // the banner before any chat
    KeptText text;
    text.at = QDateTime::currentDateTimeUtc(); // kept as an instant; shown in local time
    text.kind = int(shown.kind);
    text.bytes = shown.bytes;
    text.shown = shown.text;
    if (shown.kind == ShownText::Kind::ChatLine) {
        text.name = shown.parts.sender();
        text.colour = shown.parts.colourIndex;
        if (!text.name.isEmpty() && !namesSeen.contains(text.name)) {
            namesSeen.insert(text.name);
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

void HistoryRecorder::PrivateLine(const QByteArray &key, const QString &person, const QString &sender,
                                  const QString &text)
{
    if (pausedFor || !keeping || !inChat)
        return;
    KeptText kept;
    kept.at = QDateTime::currentDateTimeUtc();
    kept.kind = int(ShownText::Kind::Private);
    kept.name = sender;
    kept.bytes = key;
    kept.shown = tr("[private with %1] <%2> %3").arg(person, sender, text);
    waiting << kept;
    if (!flushing.isActive())
        flushing.start();
}

void HistoryRecorder::StartChat()
{
    ChatEnded();
    KeptChat started = chatNow();
    started.started = QDateTime::currentDateTime();
    names = {started.nickname};
    namesSeen = {started.nickname};
    started.names = names;
    Post([started](HistoryWriter &writer) { writer.StartChat(started); });
    inChat = true;
}

void HistoryRecorder::ChatEnded()
{
    Flush();
    if (inChat && !pausedFor)
        Post([at = QDateTime::currentDateTime(), names = names](HistoryWriter &writer) { writer.EndChat(at, names); });
    inChat = false;
}

void HistoryRecorder::Flush()
{
    flushing.stop();
    if (pausedFor)
        return;
    if (!waiting.isEmpty())
        Post([texts = std::exchange(waiting, {})](HistoryWriter &writer) { writer.AddTexts(texts); });
    if (std::exchange(namesChanged, false) && inChat)
        Post([names = names](HistoryWriter &writer) { writer.SetNames(names); });
}

void HistoryRecorder::WriteNow()
{
    Flush();
    Post([](HistoryWriter &) {}, Qt::BlockingQueuedConnection);
}

void HistoryRecorder::Pause(const QString &why)
{
    if (pausedFor)
        return;
    pausedFor = why;
    waiting.clear();
    emit paused(why);
}
