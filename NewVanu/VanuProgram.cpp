#include "VanuProgram.h"

#include "TAboutBox.h"
#include "TForm4.h"
#include "TForm8.h"
#include "THelpBox.h"
#include "TfFriends.h"

#include <QDir>
#include <QFileInfo>

VanuProgram::VanuProgram(const QString &programFolder, const DesktopSeams &seams)
    : VanuProgram(ProgramFolders{programFolder, programFolder, QString()}, seams)
{
}

VanuProgram::VanuProgram(const ProgramFolders &folders, const DesktopSeams &seams) : prompts(seams.prompts)
{
    const QIcon programIcon = ProgramIcon();
    form4 = std::make_unique<TForm4>(windows, seams, folders.transcripts, programIcon);
    form8 = std::make_unique<TForm8>(folders.settings, seams.prompts, seams.codePage, folders.readOnly);
    form8->OfferHostsFrom(seams.discovery);
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

void VanuProgram::OpenSetupFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        prompts.ShowError(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)));
    else
        form8->LoadSetup(path);
    form8->open();
}

QIcon VanuProgram::ProgramIcon()
{
    return QIcon(QStringLiteral(":/NewVanu/program.png"));
}
