// A host that keeps its history in the given file while a guest says the
// given number of lines; prints "shown" once its view shows the last of them,
// then goes on running until it is killed.
//   usage: history_writer HISTORY_FILE PORT LINES
#include "LoopbackPeer.h"
#include "Protocol.h"
#include "TestProgram.h"

#include <QApplication>

#include <cstdio>

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
    for (int number = 1; number <= lines; ++number)
        guest.Send(Protocol::ChatLine('2', "Anna", "line " + QByteArray::number(number)));
    const QString last = QStringLiteral(" line %1").arg(lines);
    if (!QTest::qWaitFor([&] { return host.Main().ChatLines().contains(last); }, 10000))
        return 1;
    std::printf("shown\n");
    std::fflush(stdout);
    return QApplication::exec();
}
