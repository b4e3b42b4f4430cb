// The chat view and the transcript.
#include "TForm4.h"

#include "ChatText.h"
#include "CodePage.h"
#include "ColourTable.h"
#include "Prompts.h"
#include "Transcript.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

namespace {

const QColor kLime(0x00, 0xFF, 0x00);

QTextCharFormat MessageFormat()
{
    QTextCharFormat format;
    format.setForeground(kLime);
    format.setFontWeight(QFont::Normal);
    return format;
}

QTextCharFormat NameFormat(int colourIndex)
{
    QTextCharFormat format;
    format.setForeground(NamedColour(IndexColourName(colourIndex)).value_or(QColor(Qt::yellow)));
    format.setFontWeight(QFont::Bold);
    return format;
}

} // namespace

int TForm4::ChatLineCount() const
{
    return chatViewEmpty ? 0 : RichEdit1->document()->blockCount();
}

QStringList TForm4::ChatLines() const
{
    QStringList lines;
    if (chatViewEmpty)
        return lines;
    for (QTextBlock block = RichEdit1->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void TForm4::ClearChatView()
{
    RichEdit1->clear();
    chatViewEmpty = true;
}

void TForm4::PaceChatViewPainting()
{
    // A busy chat writes lines faster than anybody reads them: the view is
    // painted at most every so often, not after every line.
    if (chatViewPaint.isActive())
        return;
    RichEdit1->viewport()->setUpdatesEnabled(false);
    chatViewPaint.start();
}

void TForm4::AppendChatLine(const QString &text, const QTextCharFormat &format)
{
    PaceChatViewPainting();
    QScrollBar *scroll = RichEdit1->verticalScrollBar();
    const bool followingTheEnd = scroll->value() == scroll->maximum();
    // A chat text is never markup: it goes in as plain characters.
    QTextCursor cursor(RichEdit1->document());
    cursor.movePosition(QTextCursor::End);
    if (!chatViewEmpty)
        cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(text, format);
    chatViewEmpty = false;
    if (followingTheEnd)
        scroll->setValue(scroll->maximum());
}

void TForm4::AppendPlainLine(const QString &text)
{
    AppendChatLine(text, MessageFormat());
}

void TForm4::AddChatLine(const QByteArray &bytes)
{
    AddChatLine(seams.codePage.ToUnicode(bytes));
}

void TForm4::AddChatLine(const QString &text)
{
    // The oldest lines go once the view holds more than its limit: it keeps
    // the limit and this write at most. The document drops them itself as
    // the lines arrive, which is the cheap way for a plain text view.
    const ChatTextParts parts = SplitChatText(text);
    RichEdit1->document()->setMaximumBlockCount(kMaxChatLines + (parts.hasName ? 2 : 1));
    QTextCursor viewCursor = RichEdit1->textCursor();
    if (viewCursor.hasSelection()) { // setting the cursor costs a relayout; only when there is a selection
        viewCursor.clearSelection();
        RichEdit1->setTextCursor(viewCursor);
    }

    if (parts.hasName)
        AppendChatLine(parts.name, NameFormat(parts.colourIndex));
    AppendChatLine(parts.message, MessageFormat());
}

bool TForm4::WriteTranscript(const QString &path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(TranscriptBytes(ChatLines(), seams.codePage)) >= 0
        && file.commit())
        return true;
    seams.prompts.ShowError(QStringLiteral("Cannot create file %1").arg(path));
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
    request.title = QStringLiteral("Save File");
    request.folder = programFolder;
    request.filter = QStringLiteral("Text files (*.txt)|*.txt|All files (*.*)|*.*");
    request.filterIndex = 1;
    request.fileName = ProposeDirChatName(programFolder);
    const QString chosen = seams.prompts.SaveFileName(request);
    transcriptPath = WithTxtExtension(chosen);
    if (chosen.isEmpty()) {
        transcriptPath.clear();
        return;
    }
    if (QFile::exists(transcriptPath)
        && seams.prompts.AskYesNoCancel(QStringLiteral("OK to overwrite %1").arg(transcriptPath))
               != Prompts::Answer::Yes) {
        // A file the user chose to keep is never written by a later "Save Chat".
        transcriptPath.clear();
        return;
    }
    WriteTranscript(transcriptPath);
}
