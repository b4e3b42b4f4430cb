#include "ChatText.h"

#include <QLocale>
#include <QTime>

#include <algorithm>

namespace {

constexpr int kNoDigitIndex = 12;

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
