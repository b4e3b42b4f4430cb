#pragma once

#include "CodePage.h"
#include "Shell.h"
#include "Sound.h"

#include <QStringList>

// Counts the sounds that would have been played.
class CountingSound final : public Sound {
public:
    int plays = 0;
    void PlayMailBeep() override { ++plays; }
};

// Records the addresses that would have been opened.
class RecordingShell final : public Shell {
public:
    QStringList opened;
    bool Open(const QString &address) override;
};

// A code page that is plainly not Windows-1251 (Latin-1), for checking that
// a unit converts through the code page it is given.
class Latin1CodePage final : public CodePage {
public:
    QByteArray FromUnicode(const QString &text) const override;
    QString ToUnicode(const QByteArray &bytes) const override;
};
