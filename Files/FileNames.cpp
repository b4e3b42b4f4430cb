#include "FileNames.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>

namespace FileNames {

namespace {

// Something is at the path: a file, a folder, or a link, even one to nothing.
bool Taken(const QString &path)
{
    struct stat status;
    return lstat(QFile::encodeName(path).constData(), &status) == 0;
}

bool IsRealFolder(const QString &path)
{
    struct stat status;
    return lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

std::optional<QString> safeName(const QString &fromSender)
{
    const QString name = fromSender.trimmed();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.toUtf8().size() > kLongestName)
        return std::nullopt;
    for (const QChar character : name) {
        const QChar::Category category = character.category();
        // Separators, NUL and the other controls; and what shows as nothing
        // (a zero-width or direction mark), which would hide a name's real end.
        if (character == QLatin1Char('/') || character == QLatin1Char('\\') || category == QChar::Other_Control
            || category == QChar::Other_Format || character == QChar::ReplacementCharacter)
            return std::nullopt;
    }
    return name;
}

std::optional<QStringList> safePath(const QString &fromSender)
{
    QStringList parts;
    for (const QString &part : fromSender.split(QLatin1Char('/'))) {
        const std::optional<QString> safe = safeName(part);
        if (!safe)
            return std::nullopt;
        parts << *safe;
    }
    return parts;
}

QString freeName(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    if (!Taken(dir.filePath(name)))
        return name;
    // "report.tar.gz" becomes "report (2).tar.gz"; ".profile" becomes ".profile (2)".
    const qsizetype dot = name.indexOf(QLatin1Char('.'), 1);
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int number = 2;; ++number) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(stem).arg(number).arg(extension);
        if (!Taken(dir.filePath(candidate)))
            return candidate;
    }
}

std::optional<QString> makeFolders(const QString &root, const QStringList &parts)
{
    QString path = root;
    for (const QString &part : parts) {
        path = QDir(path).filePath(part);
        if (mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
            return std::nullopt;
        if (!IsRealFolder(path)) // a link, or a file, where a folder goes
            return std::nullopt;
    }
    return path;
}

} // namespace FileNames
