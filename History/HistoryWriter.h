#pragma once

#include "HistoryStore.h"

#include <QObject>

#include <optional>

// Writes the history in a thread of its own, through a connection of its own
// to the file, so that the chat never waits for the disk. It is told in
// order what happened: a chat started, texts were shown, names were heard,
// the chat ended. After a write fails it writes nothing more.
class HistoryWriter : public QObject {
    Q_OBJECT
public:
    explicit HistoryWriter(QString path);

    void StartChat(const KeptChat &chat);
    // Texts of the chat that goes on.
    void AddTexts(QList<KeptText> texts);
    void SetNames(const QStringList &names);
    void EndChat(const QDateTime &at, const QStringList &names);
    // The most bytes the history may hold; the oldest chats go to keep it so.
    void SetLargest(qint64 bytes);

signals:
    void failed(const QString &why);
    // The first time old chats had to go for the largest size, and only then.
    void trimmed();

private:
    // The file is opened by the first write, in the writer's own thread.
    bool Ready();
    void Fail();
    void KeepWithinLargest();

    QString path;
    std::optional<HistoryStore> store;
    qint64 chat = 0; // none between chats
    bool broken = false;
    qint64 largest = 0; // no limit
    bool trimmedBefore = false;
};
