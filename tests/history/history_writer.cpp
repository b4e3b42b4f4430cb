// A host that keeps its history in the given file while a guest says the
// given number of lines; prints "shown" once its view shows the last of them,
// then goes on running until it is killed. Each line "more" on its input has
// the guest say as many lines again, and "shown" is printed once more.
//   usage: history_writer HISTORY_FILE PORT LINES
#include "LoopbackPeer.h"
#include "Protocol.h"
#include "TestProgram.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc != 4)
        return 2;
    QApplication application(argc, argv);
    const quint16 port = quint16(QByteArray(argv[2]).toUInt());
    const int lines = QByteArray(argv[3]).toInt();
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, QString::fromLocal8Bit(argv[1]));
    LoopbackPeer guest;
    if (!host.StartHost(port) || !guest.Connect(port) || !guest.Send(Protocol::Registration("Anna")))
        return 1;
    if (!QTest::qWaitFor([&] { return host.Friends().Lines() == QStringList{"Anna"}; }, 10000))
        return 1;
    int said = 0;
    const auto say = [&] {
        for (const int last = said + lines; said < last;)
            guest.Send(Protocol::ChatLine('2', "Anna", "line " + QByteArray::number(++said)));
        const QString shown = QStringLiteral(" line %1").arg(said);
        if (!QTest::qWaitFor([&] { return host.Main().chatLines().contains(shown); }, 10000))
            return false;
        std::printf("shown\n");
        std::fflush(stdout);
        return true;
    };
    if (!say())
        return 1;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char asked[16];
        if (read(STDIN_FILENO, asked, sizeof asked) <= 0)
            input.setEnabled(false);
        else if (!say())
            QApplication::exit(1);
    });
    return QApplication::exec();
}
