#pragma once

// Desktop seams for a program that runs unattended in a benchmark: every
// question is answered OK, nothing is shown or heard, and there is a tray.

#include "CodePage.h"
#include "Cp1251CodePage.h"
#include "LanDiscovery.h"
#include "Notifier.h"
#include "Prompts.h"
#include "Shell.h"
#include "Sound.h"
#include "TrayHost.h"
#include "VanuProgram.h"

#include <QTemporaryDir>

class SilentPrompts final : public Prompts {
public:
    QString savePath;
    bool Confirm(const QString &) override { return true; }
    Answer AskYesNoCancel(const QString &) override { return Answer::Yes; }
    void ShowError(const QString &) override {}
    void ShowMessage(const QString &) override {}
    QString SaveFileName(FileDialogRequest &) override { return savePath; }
    QStringList OpenFileNames(const FileDialogRequest &) override { return {}; }
    QString ExistingFolder(const FileDialogRequest &) override { return {}; }
    std::optional<QString> AskPassword(const QString &) override { return std::nullopt; }
};

class NoSound final : public Sound {
public:
    void PlayMailBeep() override {}
};

class NoShell final : public Shell {
public:
    bool Open(const QString &) override { return true; }
};

class QuietTray final : public TrayHost {
public:
    bool IsAvailable() const override { return true; }
    void Add(const QIcon &, const QString &) override {}
    void Modify(const QIcon &, const QString &) override {}
    void Delete() override {}
    void SetTaskbarEntryVisible(QWidget *, bool) override {}
    void ShowBalloon(const QString &, const QString &) override {}
};

class NoNotifier final : public Notifier {
public:
    bool Tell(const QString &) override { return true; }
    void Forget() override {}
};

// A whole program with the seams above, in a folder of its own.
struct BenchProgram {
    SilentPrompts prompts;
    NoSound sound;
    NoShell shell;
    Cp1251CodePage codePage;
    QuietTray tray;
    NoNotifier notifier;
    AbsentDiscovery discovery;
    QTemporaryDir folder;
    // VANU_BENCH_HISTORY: the history file to keep the chats in; none kept without it.
    QString historyPath = qEnvironmentVariable("VANU_BENCH_HISTORY");
    // VANU_BENCH_SECURE: the folder of the host's key; no secure chat without it.
    QString secureFolder = qEnvironmentVariable("VANU_BENCH_SECURE");
    // VANU_GUEST_LINES_PER_SECOND=0 reads every guest as fast as it sends, to measure capacity.
    VanuProgram program{folder.path(), {prompts, sound, shell, codePage, tray},
                        {notifier, discovery, historyPath, secureFolder}, ChatTuning::fromEnvironment()};
};
