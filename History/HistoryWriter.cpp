#include "HistoryWriter.h"

#include <utility>

HistoryWriter::HistoryWriter(QString path) : path(std::move(path)) { }

bool HistoryWriter::Ready()
{
    if (broken)
        return false;
    if (!store) {
        store.emplace();
        if (!store->Open(path))
            Fail();
    }
    return !broken;
}

void HistoryWriter::Fail()
{
    broken = true;
    emit failed(store->LastError());
}

void HistoryWriter::StartChat(const KeptChat &started)
{
    if (!Ready())
        return;
    chat = store->StartChat(started);
    if (chat == 0)
        Fail();
}

void HistoryWriter::AddTexts(QList<KeptText> texts)
{
    if (chat == 0 || !Ready())
        return;
    for (KeptText &text : texts)
        text.chat = chat;
    if (!store->AddTexts(texts))
        Fail();
    else
        KeepWithinLargest();
}

void HistoryWriter::SetLargest(qint64 bytes)
{
    largest = bytes;
    if (Ready())
        KeepWithinLargest();
}

void HistoryWriter::KeepWithinLargest()
{
    if (largest > 0 && store->KeepWithin(largest, chat) && !std::exchange(trimmedBefore, true))
        emit trimmed();
}

void HistoryWriter::SetNames(const QStringList &names)
{
    if (chat != 0 && Ready() && !store->SetNames(chat, names))
        Fail();
}

void HistoryWriter::EndChat(const QDateTime &at, const QStringList &names)
{
    if (chat != 0 && Ready() && !store->EndChat(chat, at, names))
        Fail();
    chat = 0;
}
