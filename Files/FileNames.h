#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Names of files that come from another copy, never trusted: each is checked
// before it names anything on this disk, and nothing is ever overwritten,
// followed through a link, or made outside the folder the user chose.
namespace FileNames {

// The longest name, in UTF-8 bytes, that Linux file systems take.
constexpr int kLongestName = 255;

// A name of one file or folder as the sender gave it, if it is one: not
// empty, not "." or "..", no path separator ('/' or '\'), no NUL, no control
// or invisible character, not longer than kLongestName bytes. Blanks around
// it are dropped.
std::optional<QString> safeName(const QString &fromSender);
// A path beneath the chosen folder, "folder/sub/name" with '/' between its
// parts, if every part is a safe name.
std::optional<QStringList> safePath(const QString &fromSender);
// A name in the folder that nothing has (not even a link to nothing): the
// name itself, or "name (2).ext", "name (3).ext" and so on.
QString freeName(const QString &folder, const QString &name);
// Makes the folders of `parts` beneath `root`, each mode 0700 when new; an
// existing part must be a real folder, not a link. Gives the deepest one,
// or nothing when a part could not be made or is not a folder.
std::optional<QString> makeFolders(const QString &root, const QStringList &parts);

} // namespace FileNames
