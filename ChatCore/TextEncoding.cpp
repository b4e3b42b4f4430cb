#include "TextEncoding.h"

#include "CodePage.h"

#include <QUtf8StringView>

QString decodeText(const QByteArray &bytes, TextEncoding encoding, const CodePage &codePage)
{
    return encoding == TextEncoding::Utf8 ? QString::fromUtf8(bytes) : codePage.toUnicode(bytes);
}

QByteArray encodeText(const QString &text, TextEncoding encoding, const CodePage &codePage)
{
    return encoding == TextEncoding::Utf8 ? text.toUtf8() : codePage.fromUnicode(text);
}

QByteArray recodeText(const QByteArray &bytes, TextEncoding from, TextEncoding to, const CodePage &codePage)
{
    if (from == to)
        return bytes;
    return encodeText(decodeText(bytes, from, codePage), to, codePage);
}

QByteArray wellFormedUtf8(const QByteArray &bytes)
{
    if (QUtf8StringView(bytes).isValidUtf8())
        return bytes;
    return QString::fromUtf8(bytes).toUtf8();
}
