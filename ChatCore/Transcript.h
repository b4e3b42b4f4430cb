#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "TextEncoding.h"

class CodePage;

// The first of DirChat1.txt to DirChat9.txt that does not exist in the folder,
// or DirChat9.txt when all nine do.
QString ProposeDirChatName(const QString &folder);

// A path with no "." anywhere (folders included) gets ".txt" appended.
QString WithTxtExtension(const QString &path);

// The view's lines as a transcript: each line and CR LF, in the code page,
// or in UTF-8 to keep every character.
QByteArray TranscriptBytes(const QStringList &lines, const CodePage &codePage,
                           TextEncoding encoding = TextEncoding::CodePage);

// A save dialog's filters for a transcript: text files in the code page
// first, as ever, then all files, then text in UTF-8.
QString TranscriptFilters();
// The encoding of the filter chosen, counted from 1.
TextEncoding TranscriptEncodingOf(int filterIndex);
