#include "Transcript.h"

#include "CodePage.h"
#include "FileWriting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ProposeDirChatName(const QString &folder)
{
    constexpr int kLastNumber = 9;
    int number = 1;
    while (number < kLastNumber
           && TargetOfWrite(QDir(folder).filePath(QStringLiteral("DirChat%1.txt").arg(number))).exists)
        ++number;
    return QStringLiteral("DirChat%1.txt").arg(number);
}

QString WithTxtExtension(const QString &path)
{
    return path.contains(QLatin1Char('.')) ? path : path + QStringLiteral(".txt");
}

QByteArray TranscriptBytes(const QStringList &lines, const CodePage &codePage, TextEncoding encoding)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += encodeText(line, encoding, codePage) + QByteArrayLiteral("\r\n");
    return bytes;
}

namespace {

constexpr int kUtf8Filter = 3;

} // namespace

QString TranscriptFilters()
{
    return QCoreApplication::translate("Transcript", "Text files (*.txt)|*.txt|All files (*.*)|*.*") + u'|'
           + QCoreApplication::translate("Transcript", "Text, UTF-8 (*.txt)|*.txt");
}

TextEncoding TranscriptEncodingOf(int filterIndex)
{
    return filterIndex == kUtf8Filter ? TextEncoding::Utf8 : TextEncoding::CodePage;
}
