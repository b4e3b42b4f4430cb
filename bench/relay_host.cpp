// The program in host mode, offscreen and quiet, for the relay benchmark:
//   relay_host PORT [--lag]
// Prints "listening" once the port is open and runs until it is killed. With
// --lag it prints, each second, how late a 10 ms timer fired in that second
// (the event loop's lag): "lag p99_ms=... max_ms=...". The probe wakes the
// host 100 times a second, which a real host never does, so the rows that
// measure the host's CPU run without it.

#include "BenchSeams.h"
#include "TForm4.h"
#include "TForm8.h"
#include "TTCPServer.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool probesLag = argc > 2 && qstrcmp(argv[2], "--lag") == 0;
    if (argc < 2 || (argc > 2 && !probesLag)) {
        std::fprintf(stderr, "usage: relay_host PORT [--lag]\n");
        return 2;
    }
    BenchProgram bench;
    VanuProgram &program = bench.program;
    TForm4 &main = *program.windows.Form4;
    program.windows.Form8->eName->setText(QStringLiteral("Hosty"));
    program.windows.Form8->ePort->setText(QString::fromLatin1(argv[1]));
    main.Quiet1->trigger();
    main.ImServer1->trigger();

    QTimer listening;
    QObject::connect(&listening, &QTimer::timeout, [&] {
        if (main.TCPServer1->State() == wsListening) {
            listening.stop();
            std::printf("listening on %s\n", qPrintable(main.TCPServer1->Port));
            std::fflush(stdout);
        }
    });
    listening.start(10);

    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = -1;
    std::vector<double> lateMs;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastTick >= 0)
            lateMs.push_back(std::max(0.0, double(now - lastTick) / 1e6 - 10.0));
        lastTick = now;
        if (lateMs.size() < 100)
            return;
        std::sort(lateMs.begin(), lateMs.end());
        std::printf("lag p99_ms=%.1f max_ms=%.1f\n", lateMs[98], lateMs.back());
        std::fflush(stdout);
        lateMs.clear();
    });
    if (probesLag)
        tick.start(10);
    return QApplication::exec();
}
