#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: `vanu [FILE.set]`, `--help`, `--version`,
// `--history [WORDS...]`, `--send PATH...`.
struct CommandLine {
    enum class Action { Run, Help, Version, Usage, History };
    Action action = Action::Run;
    // A setup file to load into the setup dialog at start (Run only).
    QString setupFile;
    // Files and folders to send (Run only), as absolute paths: the running
    // copy asks to whom.
    QStringList sendPaths;
    // The words to find in the history (History only); none for its last lines.
    QString historyWords;
    // What to print: the help or the version text (on stdout), or for Usage
    // the error and the usage (on stderr; the program then exits with 2).
    QString text;
};

// Reads the arguments, the program's name first.
CommandLine ReadCommandLine(const QStringList &arguments);
