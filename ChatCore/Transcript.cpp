#include "Transcript.h"

#include "CodePage.h"
#include "FileWriting.h"

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

QByteArray TranscriptBytes(const QStringList &lines, const CodePage &codePage)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += codePage.fromUnicode(line) + QByteArrayLiteral("\r\n");
    return bytes;
}
