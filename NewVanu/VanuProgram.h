#pragma once

#include "DesktopSeams.h"
#include "ProgramWindows.h"

#include <QIcon>
#include <QString>

#include <memory>

// One running program: its five windows, made in the order the program has
// always made them (main window, setup dialog, about box, help box, friends
// window) and kept until it ends. A test may make several, each with its own
// program folder, and let them chat with each other in one process.
class VanuProgram {
public:
    // readOnlyFolder: a program folder that cannot be written, whose
    // "LastSetup.set" is read while programFolder has none of its own.
    VanuProgram(const QString &programFolder, const DesktopSeams &seams, const QString &readOnlyFolder = {});
    ~VanuProgram();
    VanuProgram(const VanuProgram &) = delete;
    VanuProgram &operator=(const VanuProgram &) = delete;

    // Shows the main window, the only window shown at start.
    void Start();

    ProgramWindows windows;

    static QIcon ProgramIcon();

    // Where a copy keeps its files: the program file's folder when it can be
    // written; otherwise the user's own folder, with the program file's
    // folder still read for the settings kept there before.
    struct Folders {
        QString writable;
        QString readOnly; // empty when the program file's folder is writable
    };
    static Folders ChooseFolders(const QString &programFolder, const QString &userFolder);
    // The choice for this program file and this user.
    static Folders DefaultFolders();

private:
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm8> form8;
    std::unique_ptr<TAboutBox> aboutBox;
    std::unique_ptr<THelpBox> helpBox;
    std::unique_ptr<TfFriends> friends;
};
