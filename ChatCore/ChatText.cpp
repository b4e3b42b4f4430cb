#include "ChatText.h"

#include <QLocale>
#include <QTime>

#include <unicode/uchar.h>

#include <algorithm>

namespace {

constexpr int kNoDigitIndex = 12;
// No character below this is drawn as emoji by default.
constexpr char16_t kFirstEmoji = 0x2000;
constexpr char32_t kZeroWidthJoiner = 0x200D;
constexpr char32_t kEmojiSelector = 0xFE0F;

bool StartsEmoji(char32_t character, char32_t next)
{
    return u_hasBinaryProperty(UChar32(character), UCHAR_EMOJI_PRESENTATION)
        || (next == kEmojiSelector && u_hasBinaryProperty(UChar32(character), UCHAR_EXTENDED_PICTOGRAPHIC));
}

// What belongs to the emoji before it.
bool GoesOnEmoji(char32_t character)
{
    // Digits, "#" and "*" are components of keycaps, but after an emoji they are text.
    return character == kZeroWidthJoiner || character == kEmojiSelector
        || u_hasBinaryProperty(UChar32(character), UCHAR_EMOJI_MODIFIER)
        || (character > 0x7F && u_hasBinaryProperty(UChar32(character), UCHAR_EMOJI_COMPONENT));
}

} // namespace

ChatTextParts SplitChatText(const QString &text)
{
    ChatTextParts parts;
    const qsizetype open = text.indexOf(QLatin1Char('<'));
    const qsizetype close = text.indexOf(QLatin1Char('>'));
    parts.message = close < 0 ? text : text.mid(close + 1);
    if (open < 0)
        return parts;
    parts.hasName = true;
    const QChar first = text[0];
    parts.colourIndex = (first >= QLatin1Char('0') && first <= QLatin1Char('9')) ? first.unicode() - '0' : kNoDigitIndex;
    if (close > open)
        parts.name = text.mid(open, close - open + 1);
    return parts;
}

QString WithVisibleControls(QString text)
{
    const auto isControl = [](QChar character) { return character.unicode() < 32 || character.unicode() == 127; };
    if (std::none_of(text.cbegin(), text.cend(), isControl))
        return text; // the usual case, without a copy
    for (QChar &character : text) {
        if (character.unicode() < 32)
            character = QChar(0x2400 + character.unicode());
        else if (character.unicode() == 127)
            character = QChar(0x2421);
    }
    return text;
}

QString LongTimeOfDay(const QTime &time)
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(time, format.trimmed());
}

QList<TextRun> EmojiRuns(const QString &text)
{
    QList<TextRun> runs;
    if (std::all_of(text.cbegin(), text.cend(), [](QChar unit) { return unit.unicode() < kFirstEmoji; }))
        return runs; // the common case, at no cost
    const QList<uint> characters = text.toUcs4();
    qsizetype at = 0; // in UTF-16 units
    bool inRun = false;
    for (qsizetype index = 0; index < characters.size(); ++index) {
        const char32_t character = characters[index];
        const char32_t next = index + 1 < characters.size() ? characters[index + 1] : 0;
        const qsizetype units = character > 0xFFFF ? 2 : 1;
        // A joiner or selector carries a run on; a digit or letter (components too) never starts one.
        const bool joins = inRun && (GoesOnEmoji(character) || characters[index - 1] == kZeroWidthJoiner);
        const bool starts = !joins && StartsEmoji(character, next);
        if (joins || (starts && inRun)) {
            runs.last().length += units; // emoji side by side make one run
        } else if (starts) {
            runs.append({at, units});
            inRun = true;
        } else {
            inRun = false;
        }
        at += units;
    }
    return runs;
}
