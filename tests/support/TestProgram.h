#pragma once

#include "Cp1251CodePage.h"
#include "FakeTrayHost.h"
#include "LanDiscovery.h"
#include "LoopbackPeer.h"
#include "ScriptedPrompts.h"
#include "TForm4.h"
#include "TForm8.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TestDoubles.h"
#include "TfFriends.h"
#include "VanuProgram.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

// A whole program in the test's process: its five windows, its own program
// folder (with the given "LastSetup.set", if any), and doubles at the desktop
// seams. Several can chat with each other over loopback in one event loop.
class TestProgram {
public:
    // With a history file, the program keeps its chats there; with a secure
    // folder, it chats securely where it can, its keys kept there.
    explicit TestProgram(const QByteArray &lastSetup = QByteArray(), LanDiscovery *discovery = nullptr,
                         const QString &historyPath = QString(), const QString &secureFolder = QString(),
                         const ChatTuning &tuning = {})
    {
        if (!lastSetup.isEmpty()) {
            QFile file(FolderPath(QStringLiteral("LastSetup.set")));
            if (file.open(QIODevice::WriteOnly))
                file.write(lastSetup);
        }
        program = std::make_unique<VanuProgram>(folder.path(), DesktopSeams{prompts, sound, shell, codePage, tray},
                                                FeatureSeams{notifier, discovery ? *discovery : absentDiscovery,
                                                             historyPath, secureFolder},
                                                tuning);
        QObject::connect(program->windows.Form4, &TForm4::applicationEnds, [this] { ++ends; });
    }

    // A setup file's bytes for a nickname, a host address and a filter.
    static QByteArray Setup(const QByteArray &nickname, const QByteArray &host = "127.0.0.1",
                            const QByteArray &colour = "Blue", int mode = 0, const QByteArray &filter = {})
    {
        return QByteArray::number(mode) + "\r\n" + colour + "\r\n" + nickname + "\r\n" + host + "\r\n" + filter;
    }

    // "I'm Host" with the port set in the setup dialog; true once it listens
    // on `listensOn`, which is the port asked for unless the test took that
    // one first. A host that moved on to another port, because something else
    // on the machine held this one, would never meet the test's guests.
    bool StartHost(quint16 port, std::optional<quint16> listensOn = {})
    {
        SetupDialog().ePort->setText(QString::number(port));
        Main().ImServer1->trigger();
        return QTest::qWaitFor([&] { return Main().TCPServer1->State() == wsListening; }, 5000)
               && Main().TCPServer1->Port == QString::number(listensOn.value_or(port));
    }
    // "I'm Guest" with the port set in the setup dialog.
    void StartGuest(quint16 port)
    {
        SetupDialog().ePort->setText(QString::number(port));
        Main().ImClient1->trigger();
    }

    TForm4 &Main() const { return *program->windows.Form4; }
    TForm8 &SetupDialog() const { return *program->windows.Form8; }
    TfFriends &Friends() const { return *program->windows.fFriends; }
    QString FolderPath(const QString &name) const { return QDir(folder.path()).filePath(name); }
    // Ends the program as the end of the event loop would, destroying its windows.
    void End() { program.reset(); }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    CountingSound sound;
    RecordingShell shell;
    Cp1251CodePage codePage;
    FakeTrayHost tray;
    RecordingNotifier notifier;
    AbsentDiscovery absentDiscovery;
    std::unique_ptr<VanuProgram> program;
    int ends = 0;
};

// A guest program connected to a host that is only a socket, which the test
// speaks for.
struct GuestOfARawHost {
    explicit GuestOfARawHost(const QByteArray &nickname = "Anna", const ChatTuning &tuning = {},
                             const QString &historyPath = {})
        : guest(TestProgram::Setup(nickname), nullptr, historyPath, {}, tuning)
    {
    }

    LoopbackListener listener;
    TestProgram guest;
    LoopbackPeer host;

    bool Start(quint16 port)
    {
        if (!listener.Listen(port))
            return false;
        guest.StartGuest(port);
        host = listener.AcceptOne();
        return QTest::qWaitFor([&] { return guest.Main().TCPClient1->State() == wsConnected; }, 5000);
    }
};
