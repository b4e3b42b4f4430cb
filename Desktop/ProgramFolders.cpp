#include "ProgramFolders.h"

#include "ApplicationId.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace {

// Whether a file can be made in the folder: tried, since the permission bits
// alone do not tell (a read-only file system, or access rules).
bool CanWriteIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vanu-probe-XXXXXX")));
    return probe.open();
}

// The folder's owner and who else may write it.
struct FolderRights {
    bool ownedByUser = false;
    bool ownerWrites = false;
    bool othersWrite = false; // its group or anyone: a shared folder, sticky or not
};

std::optional<FolderRights> RightsOf(const QString &folder)
{
    struct stat info {};
    if (stat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return FolderRights{info.st_uid == geteuid(), (info.st_mode & S_IWUSR) != 0,
                        (info.st_mode & (S_IWGRP | S_IWOTH)) != 0};
}

} // namespace

bool IsInstalledCopy(const QString &programFolder)
{
    const QDir folder(programFolder);
    return folder.dirName() == QLatin1String("bin")
           && QFileInfo::exists(folder.filePath(QStringLiteral("../share/applications/%1.desktop").arg(ApplicationId())));
}

ProgramFolders ChooseFolders(const QString &programFolder, const QString &userConfig, const QString &userData)
{
    const std::optional<FolderRights> rights = RightsOf(programFolder);
    // What another user can write there is never taken for the user's settings.
    const bool othersWrite = !rights || rights->othersWrite;
    if (!IsInstalledCopy(programFolder) && !othersWrite && rights->ownedByUser && rights->ownerWrites
        && CanWriteIn(programFolder))
        return {programFolder, programFolder, QString()};
    QDir().mkpath(userConfig);
    QDir().mkpath(userData);
    return {userConfig, userData, othersWrite ? QString() : programFolder};
}

ProgramFolders DefaultFolders()
{
    return ChooseFolders(QCoreApplication::applicationDirPath(),
                         QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
