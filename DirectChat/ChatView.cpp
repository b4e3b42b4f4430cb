// The chat view and the transcript.
#include "TForm4.h"

#include "ChatText.h"
#include "ChatViewLook.h"
#include "CodePage.h"
#include "ColourTable.h"
#include "FileChoice.h"
#include "FileWriting.h"
#include "Prompts.h"
#include "Protocol.h"
#include "Transcript.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace {

// A line that comes after a quiet spell is shown at the next frame; while
// lines keep coming, the view takes them ten times a second, since a repaint
// of the whole view costs more than relaying a line to every guest.
constexpr int kQuietFrameMs = 33;
constexpr int kBusyFrameMs = 100;

int BlocksOf(const ChatTextParts &parts)
{
    return parts.hasName ? 2 : 1;
}

} // namespace

int TForm4::ChatLineCount()
{
    ShowPendingChatLines();
    return chatViewEmpty ? 0 : RichEdit1->document()->blockCount();
}

QStringList TForm4::ChatLines()
{
    ShowPendingChatLines();
    QStringList lines;
    if (chatViewEmpty)
        return lines;
    for (QTextBlock block = RichEdit1->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void TForm4::ClearChatView()
{
    chatViewFrame.stop();
    pendingChatLines.clear();
    pendingChatBlocks = 0;
    RichEdit1->clear();
    chatViewEmpty = true;
}

void TForm4::QueueChatLine(ChatTextParts parts)
{
    pendingChatBlocks += BlocksOf(parts);
    pendingChatLines.append(std::move(parts));
    // Lines that the view would drop as soon as it takes them need not wait.
    const int kept = kMaxChatLines + BlocksOf(pendingChatLines.constLast());
    while (pendingChatBlocks - BlocksOf(pendingChatLines.constFirst()) >= kept) {
        pendingChatBlocks -= BlocksOf(pendingChatLines.constFirst());
        pendingChatLines.removeFirst();
    }
    if (chatViewFrame.isActive())
        return;
    const bool busy = chatViewShown.isValid() && !chatViewShown.hasExpired(kBusyFrameMs);
    chatViewFrame.start(busy ? kBusyFrameMs : kQuietFrameMs);
}

void TForm4::DropOldestLines(QTextCursor &cursor, int kept)
{
    // The oldest lines go once the view holds more than its limit. Selected
    // by position, they are removed without being laid out first, which the
    // document's own maximum block count does line by line.
    QTextDocument *document = RichEdit1->document();
    const int excess = document->blockCount() - kept;
    if (excess <= 0)
        return;
    cursor.beginEditBlock();
    cursor.setPosition(0);
    cursor.setPosition(document->findBlockByNumber(excess).position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

void TForm4::ShowPendingChatLines()
{
    chatViewFrame.stop();
    if (pendingChatLines.isEmpty())
        return;
    const QList<ChatTextParts> lines = std::exchange(pendingChatLines, {});
    pendingChatBlocks = 0;
    chatViewShown.start();
    QTextCursor viewCursor = RichEdit1->textCursor();
    if (viewCursor.hasSelection()) { // setting the cursor costs a relayout; only when there is a selection
        viewCursor.clearSelection();
        RichEdit1->setTextCursor(viewCursor);
    }
    QScrollBar *scroll = RichEdit1->verticalScrollBar();
    const bool followingTheEnd = scroll->value() == scroll->maximum();

    // Set, not moved, to the end, and inside the edit block: a move would lay
    // out the last line, and a position outside one would find its x.
    QTextDocument *document = RichEdit1->document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.setPosition(document->characterCount() - 1);
    for (const ChatTextParts &line : lines) {
        AppendChatParts(cursor, line, chatViewEmpty);
        chatViewEmpty = false;
    }
    cursor.endEditBlock();
    // Apart from the new lines, which then reach screen readers as text
    // inserted at the end, and not as a change of the whole view.
    DropOldestLines(cursor, kMaxChatLines + BlocksOf(lines.constLast()));

    if (followingTheEnd)
        scroll->setValue(scroll->maximum());
}

void TForm4::ShowText(const ShownText &shown, ChatTextParts parts)
{
    parts.name = WithVisibleControls(std::move(parts.name));
    parts.message = WithVisibleControls(std::move(parts.message));
    QueueChatLine(std::move(parts));
    emit textShown(shown);
}

void TForm4::AppendPlainLine(const QString &text, ShownText::Kind kind)
{
    ChatTextParts parts;
    parts.message = text;
    ShowText({kind, Bytes(text), text, false}, std::move(parts));
}

void TForm4::AddChatLine(const QByteArray &bytes, bool received)
{
    const QString text = seams.codePage.ToUnicode(bytes);
    const ShownText::Kind kind = Protocol::IsChatLine(bytes) ? ShownText::Kind::ChatLine : ShownText::Kind::Notice;
    ShowText({kind, bytes, text, received}, SplitChatText(text));
}

void TForm4::AddChatLine(const QString &text, ShownText::Kind kind)
{
    ShowText({kind, Bytes(text), text, false}, SplitChatText(text));
}

bool TForm4::WriteTranscript(const QString &path)
{
    if (WriteWholeFile(path, TranscriptBytes(ChatLines(), seams.codePage)))
        return true;
    seams.prompts.ShowError(tr("Cannot create file %1").arg(path));
    return false;
}

void TForm4::Save1Click()
{
    if (transcriptPath.isEmpty())
        SaveAs1Click();
    else
        WriteTranscript(transcriptPath);
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
        WriteTranscript(transcriptPath);
}
