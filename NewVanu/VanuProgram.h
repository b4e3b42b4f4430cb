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
    VanuProgram(const QString &programFolder, const DesktopSeams &seams);
    ~VanuProgram();
    VanuProgram(const VanuProgram &) = delete;
    VanuProgram &operator=(const VanuProgram &) = delete;

    // Shows the main window, the only window shown at start.
    void Start();

    ProgramWindows windows;

    static QIcon ProgramIcon();
    // The program file's folder, or where that cannot be written (an installed
    // copy), the user's own data folder for the program.
    static QString DefaultProgramFolder();

private:
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm8> form8;
    std::unique_ptr<TAboutBox> aboutBox;
    std::unique_ptr<THelpBox> helpBox;
    std::unique_ptr<TfFriends> friends;
};
