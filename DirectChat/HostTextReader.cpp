#include "HostTextReader.h"

#include <utility>

QList<HostTextReader::Text> HostTextReader::Take(const QByteArray &piece)
{
    held += piece;
    const bool cutShort = piece.size() == Protocol::kReadSize;
    if (cutShort && held.size() < kLongestJoinedText)
        return {};
    return Release(cutShort);
}

QList<HostTextReader::Text> HostTextReader::TakeHeld()
{
    if (held.isEmpty())
        return {};
    return Release(false);
}

void HostTextReader::Clear()
{
    held.clear();
    continuesText = false;
}

QList<HostTextReader::Text> HostTextReader::Release(bool cutShort)
{
    QByteArray text = std::exchange(held, QByteArray());
    const bool continuation = std::exchange(continuesText, cutShort);
    QList<Text> texts;
    // The refusal and the notice after it arrive glued; they are two lines.
    const QByteArray refusal = Protocol::Refusal();
    if (!continuation && text.size() > refusal.size() && text.startsWith(refusal)) {
        texts.append({Protocol::GuestReceives::Shown, refusal});
        text.remove(0, refusal.size());
    }
    // The rest of a text that was cut short is never taken for a list or a departure.
    const Protocol::GuestReceives kind = continuation ? Protocol::GuestReceives::Shown : Protocol::ClassifyFromHost(text);
    texts.append({kind, text});
    return texts;
}
