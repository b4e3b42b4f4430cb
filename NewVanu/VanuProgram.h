#pragma once

#include "DesktopSeams.h"
#include "ProgramFolders.h"
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
    VanuProgram(const ProgramFolders &folders, const DesktopSeams &seams);
    // A portable copy: everything in the one folder.
    VanuProgram(const QString &programFolder, const DesktopSeams &seams);
    ~VanuProgram();
    VanuProgram(const VanuProgram &) = delete;
    VanuProgram &operator=(const VanuProgram &) = delete;

    // Shows the main window, the only window shown at start.
    void Start();
    // Loads a setup file into the setup dialog, as its Load button would, and
    // shows the dialog for the user to confirm.
    void OpenSetupFile(const QString &path);

    ProgramWindows windows;

    static QIcon ProgramIcon();


private:
    Prompts &prompts;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm8> form8;
    std::unique_ptr<TAboutBox> aboutBox;
    std::unique_ptr<THelpBox> helpBox;
    std::unique_ptr<TfFriends> friends;
};
