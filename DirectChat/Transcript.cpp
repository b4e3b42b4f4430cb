#include "Transcript.h"

#include "CodePage.h"

#include <QDir>
#include <QFileInfo>

QString ProposeDirChatName(const QString &folder)
{
    constexpr int kLastNumber = 9;
    int number = 1;
    while (number < kLastNumber
           && QFileInfo::exists(QDir(folder).filePath(QStringLiteral("DirChat%1.txt").arg(number))))
        ++number;
    return QStringLiteral("DirChat%1.txt").arg(number);
}

QString WithTxtExtension(const QString &path)
{
    return path.contains(QLatin1Char('.')) ? path : path + QStringLiteral(".txt");
}

QByteArray TranscriptBytes(const QStringList &lines, const CodePage &codePage)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += codePage.FromUnicode(line) + QByteArrayLiteral("\r\n");
    return bytes;
}
