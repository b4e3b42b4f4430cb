#pragma once

#include "CodePage.h"
#include "Notifier.h"
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
// Keeps what it is told; says there is no service when told so.
class RecordingNotifier final : public Notifier {
public:
    bool serviceThere = true;
    QStringList told;
    int forgets = 0;

    bool Tell(const QString &news) override
    {
        if (serviceThere)
            told << news;
        return serviceThere;
    }
    void Forget() override { ++forgets; }
};

class Latin1CodePage final : public CodePage {
public:
    QByteArray fromUnicode(const QString &text) const override;
    QString toUnicode(const QByteArray &bytes) const override;
};
