// The chat view and the transcript.
#include "TForm4.h"

#include "ChatLog.h"
#include "ChatText.h"
#include "CodePage.h"
#include "FileChoice.h"
#include "FileWriting.h"
#include "Prompts.h"
#include "Protocol.h"
#include "Transcript.h"

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
    // The one place a text is taken apart: the view, the history and the notifications read its parts.
    const QString text = seams.codePage.ToUnicode(bytes);
    const ShownText::Kind kind = Protocol::IsChatLine(bytes) ? ShownText::Kind::ChatLine : ShownText::Kind::Notice;
    showText({kind, bytes, text, received, SplitChatText(text)});
}

void TForm4::AddChatLine(const QString &text, ShownText::Kind kind)
{
    showText({kind, toWire(text), text, false, SplitChatText(text)});
}

void TForm4::showSession(ChatSession *session)
{
    connect(session, &ChatSession::received, this,
            [this](const QByteArray &bytes, bool fromPeer) { AddChatLine(bytes, fromPeer); });
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

bool TForm4::writeTranscript(const QString &path)
{
    if (WriteWholeFile(path, TranscriptBytes(chatLines(), seams.codePage)))
        return true;
    seams.prompts.ShowError(tr("Cannot create file %1").arg(path));
    return false;
}

void TForm4::Save1Click()
{
    if (transcriptPath.isEmpty())
        SaveAs1Click();
    else
        writeTranscript(transcriptPath);
}

void TForm4::SaveAs1Click()
{
    FileDialogRequest request;
    request.title = tr("Save File");
    request.folder = programFolder;
    request.filter = tr("Text files (*.txt)|*.txt|All files (*.*)|*.*");
    request.filterIndex = 1;
    request.fileName = ProposeDirChatName(programFolder);
    // A file the user chose to keep is never written by a later "Save Chat".
    transcriptPath = ChooseFileToWrite(seams.prompts, request, WithTxtExtension);
    if (!transcriptPath.isEmpty())
        writeTranscript(transcriptPath);
}
