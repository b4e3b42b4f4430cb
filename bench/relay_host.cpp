// The program in host mode, offscreen and quiet, for the relay benchmark:
//   relay_host PORT
// Prints "listening" once the port is open and runs until it is killed.

#include "BenchSeams.h"
#include "TForm4.h"
#include "TForm8.h"
#include "TTCPServer.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: relay_host PORT\n");
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
    return QApplication::exec();
}
