#include "ChatViewLook.h"

#include "ColourTable.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>

namespace {

const QColor kTeal(0x00, 0x80, 0x80);
const QColor kLime(0x00, 0xFF, 0x00);
constexpr int kChatFontPixels = 11;

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

// Emoji in colour: the system's other fonts would draw many of them first, in one colour.
QTextCharFormat EmojiFormat(QTextCharFormat format)
{
    format.setFontFamilies(QStringList{QStringLiteral("Noto Color Emoji")});
    return format;
}

void AppendBlock(QTextCursor &cursor, const QString &text, const QTextCharFormat &format, bool first)
{
    if (!first)
        cursor.insertBlock(QTextBlockFormat(), format);
    qsizetype done = 0;
    for (const TextRun &run : EmojiRuns(text)) {
        cursor.insertText(text.mid(done, run.start - done), format);
        cursor.insertText(text.mid(run.start, run.length), EmojiFormat(format));
        done = run.start + run.length;
    }
    cursor.insertText(text.mid(done), format);
}

} // namespace

QFont ChatFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kChatFontPixels);
    return font;
}

void StyleChatView(QPlainTextEdit &view)
{
    view.setFont(ChatFont());
    QPalette colours = view.palette();
    colours.setColor(QPalette::Base, kTeal);
    colours.setColor(QPalette::Text, kLime);
    // The selection stays visible when the view has no focus.
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    view.setPalette(colours);
}

void AppendChatParts(QTextCursor &cursor, const ChatTextParts &parts, bool first)
{
    if (parts.hasName) {
        AppendBlock(cursor, parts.name, NameFormat(parts.colourIndex), first);
        first = false;
    }
    AppendBlock(cursor, parts.message, MessageFormat(), first);
}
