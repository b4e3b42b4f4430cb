// Error numbers and their fixed texts, and the translation of the system's
// own error codes into them.
#include "SocketErrors.h"

#include <QTest>

#include <netdb.h>

#include <cerrno>

class TestSocketErrors : public QObject {
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void systemErrors_data();
    void systemErrors();
    void resolverErrors_data();
    void resolverErrors();
};

void TestSocketErrors::texts_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("refused") << 10061 << "Connection refused";
    QTest::newRow("in use") << 10048 << "Address already in use";
    QTest::newRow("would block") << 10035 << "Operation would block";
    QTest::newRow("no buffer") << 10055 << "No buffer space available";
    QTest::newRow("splice") << 10059 << "Too many references:can't splice";
    QTest::newRow("assign") << 10049 << "Can't assign requested address";
    QTest::newRow("host") << 11001 << "Host not found";
    QTest::newRow("non authoritative") << 11002 << "Non authoritative - host not found";
    QTest::newRow("no data") << 11004 << "Valid name, no data record of requested type";
    QTest::newRow("dll") << 10092 << "Winsock DLL cannot support this application";
    QTest::newRow("zero") << 0 << "Not a Winsock error";
    QTest::newRow("10000") << 10000 << "Not a Winsock error";
    QTest::newRow("10010") << 10010 << "Not a Winsock error";
    QTest::newRow("gap 10072") << 10072 << "Not a Winsock error";
    QTest::newRow("negative") << -1 << "Not a Winsock error";
}

void TestSocketErrors::texts()
{
    QFETCH(int, error);
    QFETCH(QString, text);
    QCOMPARE(SocketErrorText(error), text);
}

void TestSocketErrors::systemErrors_data()
{
    QTest::addColumn<int>("errnoValue");
    QTest::addColumn<int>("error");
    QTest::newRow("ECONNREFUSED") << ECONNREFUSED << 10061;
    QTest::newRow("EADDRINUSE") << EADDRINUSE << 10048;
    QTest::newRow("EWOULDBLOCK") << EWOULDBLOCK << 10035;
    QTest::newRow("EINPROGRESS") << EINPROGRESS << 10035;
    QTest::newRow("ENOTCONN") << ENOTCONN << 10057;
    QTest::newRow("ENETDOWN") << ENETDOWN << 10050;
    QTest::newRow("ECONNRESET") << ECONNRESET << 10054;
    QTest::newRow("ECONNABORTED") << ECONNABORTED << 10053;
    QTest::newRow("ETIMEDOUT") << ETIMEDOUT << 10060;
    QTest::newRow("ENETUNREACH") << ENETUNREACH << 10051;
    QTest::newRow("EHOSTUNREACH") << EHOSTUNREACH << 10065;
    QTest::newRow("EMFILE") << EMFILE << 10024;
    QTest::newRow("EPIPE") << EPIPE << 10058;
    QTest::newRow("ENOBUFS") << ENOBUFS << 10055;
    QTest::newRow("EADDRNOTAVAIL") << EADDRNOTAVAIL << 10049;
    QTest::newRow("unknown") << EIO << EIO;
}

void TestSocketErrors::systemErrors()
{
    QFETCH(int, errnoValue);
    QFETCH(int, error);
    QCOMPARE(TranslateErrno(errnoValue), error);
}

void TestSocketErrors::resolverErrors_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("error");
    QTest::newRow("no name") << EAI_NONAME << 11001;
    QTest::newRow("try again") << EAI_AGAIN << 11002;
    QTest::newRow("fail") << EAI_FAIL << 11003;
    QTest::newRow("no data") << EAI_NODATA << 11004;
    QTest::newRow("memory") << EAI_MEMORY << 10055;
}

void TestSocketErrors::resolverErrors()
{
    QFETCH(int, result);
    QFETCH(int, error);
    QCOMPARE(TranslateResolverError(result, 0), error);
}

QTEST_MAIN(TestSocketErrors)
#include "tst_socketerrors.moc"
