#include "ChatLog.h"

#include "ChatViewLook.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace {

// A line that comes after a quiet spell is shown at the next frame; while
// lines keep coming, the view takes them four times a second, since a repaint
// of the whole view costs more than relaying a line to every guest (at 100
// lines a second among 50 guests, ten repaints a second cost the host a
// sixth of its time).
constexpr int kQuietFrameMs = 33;
constexpr int kBusyFrameMs = 250;

int BlocksOf(const ChatTextParts &parts)
{
    return parts.hasName ? 2 : 1;
}

} // namespace

ChatLog::ChatLog(QPlainTextEdit &view, int mostLines) : QObject(&view), view(view), mostLines(mostLines)
{
    frame.setSingleShot(true);
    connect(&frame, &QTimer::timeout, this, &ChatLog::showPending);
}

int ChatLog::lineCount()
{
    showPending();
    return empty ? 0 : view.document()->blockCount();
}

QStringList ChatLog::lines()
{
    showPending();
    QStringList lines;
    if (empty)
        return lines;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void ChatLog::clear()
{
    frame.stop();
    pending.clear();
    pendingBlocks = 0;
    view.clear();
    empty = true;
}

void ChatLog::add(ChatTextParts parts)
{
    pendingBlocks += BlocksOf(parts);
    pending.append(std::move(parts));
    // Lines that the view would drop as soon as it takes them need not wait.
    const int kept = mostLines + BlocksOf(pending.constLast());
    while (pendingBlocks - BlocksOf(pending.constFirst()) >= kept) {
        pendingBlocks -= BlocksOf(pending.constFirst());
        pending.removeFirst();
    }
    if (frame.isActive())
        return;
    const bool busy = shown.isValid() && !shown.hasExpired(kBusyFrameMs);
    frame.start(busy ? kBusyFrameMs : kQuietFrameMs);
}

void ChatLog::dropOldestLines(QTextCursor &cursor, int kept)
{
    // The oldest lines go once the view holds more than its limit. Selected
    // by position, they are removed without being laid out first, which the
    // document's own maximum block count does line by line.
    QTextDocument *document = view.document();
    const int excess = document->blockCount() - kept;
    if (excess <= 0)
        return;
    cursor.beginEditBlock();
    cursor.setPosition(0);
    cursor.setPosition(document->findBlockByNumber(excess).position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

void ChatLog::showPending()
{
    frame.stop();
    if (pending.isEmpty())
        return;
    const QList<ChatTextParts> lines = std::exchange(pending, {});
    pendingBlocks = 0;
    shown.start();
    QTextCursor viewCursor = view.textCursor();
    if (viewCursor.hasSelection()) { // setting the cursor costs a relayout; only when there is a selection
        viewCursor.clearSelection();
        view.setTextCursor(viewCursor);
    }
    QScrollBar *scroll = view.verticalScrollBar();
    const bool followingTheEnd = scroll->value() == scroll->maximum();

    // Set, not moved, to the end, and inside the edit block: a move would lay
    // out the last line, and a position outside one would find its x.
    QTextDocument *document = view.document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.setPosition(document->characterCount() - 1);
    for (const ChatTextParts &line : lines) {
        AppendChatParts(cursor, line, empty);
        empty = false;
    }
    cursor.endEditBlock();
    // Apart from the new lines, which then reach screen readers as text
    // inserted at the end, and not as a change of the whole view.
    dropOldestLines(cursor, mostLines + BlocksOf(lines.constLast()));

    if (followingTheEnd)
        scroll->setValue(scroll->maximum());
}

