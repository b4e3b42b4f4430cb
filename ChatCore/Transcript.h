#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class CodePage;

// The first of DirChat1.txt to DirChat9.txt that does not exist in the folder,
// or DirChat9.txt when all nine do.
QString ProposeDirChatName(const QString &folder);

// A path with no "." anywhere (folders included) gets ".txt" appended.
QString WithTxtExtension(const QString &path);

// The view's lines as a transcript: each line and CR LF, in the code page.
QByteArray TranscriptBytes(const QStringList &lines, const CodePage &codePage);
