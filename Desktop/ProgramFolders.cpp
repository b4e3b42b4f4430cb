#include "ProgramFolders.h"

#include "ApplicationId.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// Whether a file can be made in the folder: tried, since the permission bits
// alone do not tell (a read-only file system, or access rules).
bool CanWriteIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vanu-probe-XXXXXX")));
    return probe.open();
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
    if (!IsInstalledCopy(programFolder) && CanWriteIn(programFolder))
        return {programFolder, programFolder, QString()};
    QDir().mkpath(userConfig);
    QDir().mkpath(userData);
    return {userConfig, userData, programFolder};
}

ProgramFolders DefaultFolders()
{
    return ChooseFolders(QCoreApplication::applicationDirPath(),
                         QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
