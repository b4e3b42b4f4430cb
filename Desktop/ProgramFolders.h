#pragma once

#include <QString>

// Where a copy keeps its files.
// - A portable copy (run from its own folder, which belongs to the user and
//   which only the user can write) keeps its settings, transcripts and setup
//   files beside itself.
// - An installed copy (its folder is a bin/ folder beside
//   share/applications/ with its desktop entry) never writes there, not even
//   as root, and neither does a copy whose folder the user cannot write or
//   others can: settings go to the user's config folder, transcripts to the
//   user's data folder. The program's own folder is still read for the
//   settings kept there before, unless others can write it.
struct ProgramFolders {
    QString settings;    // "LastSetup.set", and where setup files are saved and loaded
    QString transcripts; // the DirChat files and the save dialog's folder
    QString readOnly;    // read for "LastSetup.set" while settings has none; may be empty
};

// A copy in this folder was installed: the folder is named bin and its
// desktop entry is in ../share/applications/.
bool IsInstalledCopy(const QString &programFolder);

// The choice for a program in this folder, with these folders of the user's;
// the user's folders are made when they are chosen.
ProgramFolders ChooseFolders(const QString &programFolder, const QString &userConfig, const QString &userData);

// The choice for this program file and this user (the XDG folders).
ProgramFolders DefaultFolders();
