#include "TestDoubles.h"

bool RecordingShell::Open(const QString &address)
{
    opened << address;
    return true;
}

QByteArray Latin1CodePage::fromUnicode(const QString &text) const
{
    QByteArray bytes;
    for (QChar character : text)
        bytes.append(character.unicode() < 0x100 ? char(character.unicode()) : '?');
    return bytes;
}

QString Latin1CodePage::toUnicode(const QByteArray &bytes) const
{
    return QString::fromLatin1(bytes);
}
