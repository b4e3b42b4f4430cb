#include "VanuProgram.h"

#include "TAboutBox.h"
#include "TForm4.h"
#include "TForm8.h"
#include "THelpBox.h"
#include "TfFriends.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

VanuProgram::VanuProgram(const QString &programFolder, const DesktopSeams &seams, const QString &readOnlyFolder)
{
    const QIcon programIcon = ProgramIcon();
    form4 = std::make_unique<TForm4>(windows, seams, programFolder, programIcon);
    form8 = std::make_unique<TForm8>(programFolder, seams.prompts, seams.codePage, readOnlyFolder);
    windows.Form8 = form8.get();
    aboutBox = std::make_unique<TAboutBox>(programIcon, seams.shell);
    windows.AboutBox = aboutBox.get();
    helpBox = std::make_unique<THelpBox>();
    windows.HelpBox = helpBox.get();
    friends = std::make_unique<TfFriends>(*form4, form4->FriendsDocked, programIcon);
    windows.fFriends = friends.get();

    TForm4 *main = form4.get();
    QObject::connect(friends.get(), &TfFriends::openRequested, main, &TForm4::Open1Click);
    QObject::connect(friends.get(), &TfFriends::aboutRequested, main, &TForm4::About1Click);
    QObject::connect(friends.get(), &TfFriends::closedByUser, main, &TForm4::FriendsClosed);
}

VanuProgram::~VanuProgram()
{
    // The main window goes last: as it goes it tells every guest that the host is down.
    windows.fFriends = nullptr;
    friends.reset();
    windows.HelpBox = nullptr;
    helpBox.reset();
    windows.AboutBox = nullptr;
    aboutBox.reset();
    windows.Form8 = nullptr;
    form8.reset();
    form4.reset();
}

void VanuProgram::Start()
{
    form4->show();
}

QIcon VanuProgram::ProgramIcon()
{
    return QIcon(QStringLiteral(":/NewVanu/program.png"));
}

namespace {

// Whether a file can be made in the folder: tried, since the permission bits
// alone do not tell (a read-only file system, or access rules).
bool CanWriteIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vanu-probe-XXXXXX")));
    return probe.open();
}

} // namespace

VanuProgram::Folders VanuProgram::ChooseFolders(const QString &programFolder, const QString &userFolder)
{
    if (CanWriteIn(programFolder))
        return {programFolder, QString()};
    QDir().mkpath(userFolder);
    return {userFolder, programFolder};
}

VanuProgram::Folders VanuProgram::DefaultFolders()
{
    return ChooseFolders(QCoreApplication::applicationDirPath(),
                         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
