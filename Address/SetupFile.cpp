#include "SetupFile.h"

#include "CodePage.h"
#include "ColourTable.h"
#include "RuntimeErrors.h"

#include <algorithm>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// Splits off the next line at `at`, moving `at` past its line end.
QByteArray NextLine(const QByteArray &text, qsizetype &at)
{
    qsizetype end = at;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    const QByteArray line = text.mid(at, end - at);
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
        end += 2;
    else if (end < text.size())
        end += 1;
    at = end;
    return line;
}

} // namespace

QStringList FilterLinesOfText(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

QString FilterTextOfLines(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n'));
}

SetupSettings ParseSetupFile(const QByteArray &bytes, const CodePage &codePage)
{
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArray text = nul < 0 ? bytes : bytes.left(nul);
    qsizetype at = 0;
    const QByteArray modeBytes = NextLine(text, at);
    // No whole number is this long; a damaged line is quoted in part.
    constexpr qsizetype kLongestQuote = 80;
    const std::optional<int> mode =
        modeBytes.size() > kLongestQuote ? std::nullopt : ReadWholeNumber(codePage.toUnicode(modeBytes));
    if (!mode) {
        QString quoted = codePage.toUnicode(modeBytes.left(kLongestQuote));
        if (modeBytes.size() > kLongestQuote)
            quoted += QChar(0x2026); // an ellipsis
        throw EConvertError::NotAnInteger(quoted);
    }

    SetupSettings settings;
    settings.FilterMode = std::clamp(*mode, -1, 1);
    settings.ColourName = codePage.toUnicode(NextLine(text, at));
    settings.Nickname = codePage.toUnicode(NextLine(text, at));
    settings.HostAddress = codePage.toUnicode(NextLine(text, at));
    settings.ColourIndexText = ColourIndexTextOf(settings.ColourName);

    // The rest is the filter box's text as it was, whatever its line ends.
    QStringList filterLines;
    const QByteArray rest = text.mid(at);
    qsizetype restAt = 0;
    while (restAt < rest.size())
        filterLines << codePage.toUnicode(NextLine(rest, restAt));
    if (!rest.isEmpty() && (rest.endsWith('\n') || rest.endsWith('\r')))
        filterLines << QString();
    settings.FilterLines = filterLines;
    return settings;
}

QByteArray ComposeSetupFile(const SetupSettings &settings, const CodePage &codePage)
{
    QByteArray bytes;
    bytes += QByteArray::number(settings.FilterMode) + kLineEnd;
    bytes += codePage.fromUnicode(settings.ColourName) + kLineEnd;
    bytes += codePage.fromUnicode(settings.Nickname) + kLineEnd;
    bytes += codePage.fromUnicode(settings.HostAddress) + kLineEnd;
    QList<QByteArray> filterLines;
    for (const QString &line : settings.FilterLines)
        filterLines << codePage.fromUnicode(line);
    bytes += filterLines.join(kLineEnd);
    return bytes;
}

QString SetupFileNameFor(const QString &chosenPath)
{
    const qsizetype separator = chosenPath.lastIndexOf(QLatin1Char('/'));
    const QString folder = chosenPath.left(separator + 1);
    QString name = chosenPath.mid(separator + 1);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return folder + name + QStringLiteral(".set");
}
