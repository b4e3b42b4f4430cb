// The chat view, and saving it as a transcript.
#include "TForm4.h"

#include "ChatLog.h"
#include "ChatSession.h"
#include "ChatText.h"
#include "CodePage.h"
#include "Prompts.h"
#include "Protocol.h"
#include "TranscriptSaving.h"

#include <QListWidget>

#include <utility>

void TForm4::showText(const ShownText &shown)
{
    ChatTextParts parts = shown.parts;
    parts.name = WithVisibleControls(std::move(parts.name));
    parts.message = WithVisibleControls(std::move(parts.message));
    chatLog->add(std::move(parts));
    emit textShown(shown);
}

void TForm4::appendPlainLine(const QString &text, ShownText::Kind kind)
{
    ChatTextParts parts;
    parts.message = text;
    showText({kind, toWire(text), text, false, std::move(parts)});
}

void TForm4::AddChatLine(const QByteArray &bytes, bool received)
{
    AddChatLine(seams.codePage.toUnicode(bytes), bytes, received);
}

void TForm4::AddChatLine(const QString &text, const QByteArray &bytes, bool received)
{
    // The one place a text is taken apart: the view, the history and the notifications read its parts.
    const ShownText::Kind kind = Protocol::IsChatLine(bytes) ? ShownText::Kind::ChatLine : ShownText::Kind::Notice;
    showText({kind, bytes, text, received, SplitChatText(text)});
}

void TForm4::AddChatLine(const QString &text, ShownText::Kind kind)
{
    showText({kind, toWire(text), text, false, SplitChatText(text)});
}

void TForm4::showSession(ChatSession *session)
{
    connect(session, &ChatSession::received, this, [this](const QString &text, const QByteArray &bytes, bool fromPeer) {
        AddChatLine(text, bytes, fromPeer);
    });
    connect(session, &ChatSession::notice, this,
            [this](const QString &text, ShownText::Kind kind) { AddChatLine(text, kind); });
    connect(session, &ChatSession::participantLeft, this, [this](int row) { delete participantList()->takeItem(row); });
    connect(session, &ChatSession::fault, this, [this](const QString &why) { seams.prompts.ShowError(why); });
}

int TForm4::chatLineCount()
{
    return chatLog->lineCount();
}

QStringList TForm4::chatLines()
{
    return chatLog->lines();
}

void TForm4::showPendingChatLines()
{
    chatLog->showPending();
}

void TForm4::clearChatView()
{
    chatLog->clear();
}

void TForm4::Save1Click()
{
    transcript->save();
}

void TForm4::SaveAs1Click()
{
    transcript->saveAs();
}

QString TForm4::rememberedTranscriptPath() const
{
    return transcript->rememberedPath();
}
