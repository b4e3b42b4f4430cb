#pragma once

#include <QByteArray>
#include <QString>

// What writing a file at a path would overwrite. A symbolic link there counts
// as a file that exists, and it is the file it leads to that is named; a link
// that leads nowhere is never written through, since that would make a file
// wherever the link's owner chose.
struct WriteTarget {
    QString path;              // the file that would be overwritten
    bool exists = false;       // something is there, a link included
    bool danglingLink = false; // a link to nothing (or to a loop of links)
};
WriteTarget TargetOfWrite(const QString &path);

// Writes the bytes as the file at `path`, whole or not at all: into a new file
// beside it, which then takes the name. A symbolic link at the path is
// replaced, never written through; a file replaced keeps its permissions. In
// a folder where no file can be made beside it, the file is written in place,
// but still never through a link.
// A private file is readable by the user alone (mode 0600), whatever it replaces.
enum class FileAccess { Usual, Private };
bool WriteWholeFile(const QString &path, const QByteArray &bytes, FileAccess access = FileAccess::Usual);

// Makes the folder that a file at `path` goes in, private to the user (mode
// 0700) when it is made now; one that exists is left as it is.
void MakeFolderFor(const QString &path);

// Keeps a file of secrets the user's alone, before anything is written to it:
// made empty with mode 0600 when missing (unless told to leave a missing one
// be), brought to 0600 when others may read it, and its folder brought to
// 0700 when others may enter it. A link is never followed. The file is never
// opened once it exists, so that no lock another part of the program holds on
// it (SQLite's, say) is dropped.
enum class MissingFile { Make, Leave };
void KeepPrivate(const QString &path, MissingFile missing = MissingFile::Make);
