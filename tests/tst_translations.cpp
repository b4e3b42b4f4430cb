// The program in the user's language. CTest runs this once per language,
// with LANGUAGE set as a desktop session would: the texts people read are
// translated, and not a byte that travels on the wire is.
#include "LoopbackPeer.h"
#include "TestProgram.h"
#include "UserLanguage.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

namespace {

const QStringList kLanguages = {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("ru"), QStringLiteral("uk")};

QString Language()
{
    const QString language = qEnvironmentVariable("LANGUAGE").section(QLatin1Char(':'), 0, 0).left(2);
    return kLanguages.contains(language) ? language : QStringLiteral("en");
}

// A port of this language's own: the runs may go side by side.
quint16 Port()
{
    return quint16(27800 + 10 * kLanguages.indexOf(Language()));
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseUserLanguage(); }
    void keyTexts_data();
    void keyTexts();
    void wireTextsStayAsTheyAre();
    void everyEntryIsFinished();
};

void TestTranslations::keyTexts_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QStringList>("shown"); // en, de, ru, uk
    QTest::newRow("menu") << "Coupon menu" << QStringList{"C&oupon", "&Abteil", "&Купе", "&Купе"};
    QTest::newRow("dialog") << "setup dialog" << QStringList{"Setup Configuration", "Einstellungen", "Настройка", "Налаштування"};
    QTest::newRow("notice") << "host's notice"
                            << QStringList{" : At this moment I'm Host.", " : Ich bin jetzt Host.", " : Сейчас я хост.",
                                           " : Зараз я хост."};
    QTest::newRow("Qt's own") << "standard button" << QStringList{"Cancel", "Abbrechen", "Отмена", "Скасувати"};
}

void TestTranslations::keyTexts()
{
    QFETCH(QString, where);
    QFETCH(QStringList, shown);
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(Port()));
    const QMap<QString, QString> texts = {
        {"Coupon menu", host.Main().couponMenu->title()},
        {"setup dialog", host.SetupDialog().windowTitle()},
        {"host's notice", host.Main().chatLines().value(0).section(QLatin1Char(' '), 1).prepend(QLatin1Char(' '))},
        {"standard button", QCoreApplication::translate("QPlatformTheme", "Cancel")},
    };
    QCOMPARE(texts.value(where), shown.at(kLanguages.indexOf(Language())));
}

void TestTranslations::wireTextsStayAsTheyAre()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(Port()));
    LoopbackPeer remo;
    QVERIFY(remo.Connect(Port()));
    QByteArray expected = "Hello!  Welcome to Hosty's coupon.";
    QCOMPARE(remo.ReadAtLeast(expected.size()), expected);
    QVERIFY(remo.Send(" Remo"));
    QCOMPARE(remo.ReadAtLeast(5), QByteArray("#Remo"));

    QLineEdit &input = *host.Main().Edit1;
    QVERIFY(QTest::qWaitFor([&] { return input.isEnabled(); }));
    input.setText(QStringLiteral("hallo"));
    QTest::keyClick(&input, Qt::Key_Return);
    expected = "0<Hosty> hallo";
    QCOMPARE(remo.ReadAtLeast(expected.size()), expected);

    // A second guest of the same name: the first hears of its arrival, and
    // it is told why it may not stay.
    LoopbackPeer again;
    QVERIFY(again.Connect(Port()));
    QVERIFY(!again.ReadAtLeast(1).isEmpty()); // the greeting
    expected = "New guest coming from address: 127.0.0.1";
    QCOMPARE(remo.ReadAtLeast(expected.size()), expected);
    (void)again.ReadAvailable();
    QVERIFY(again.Send(" Remo"));
    QByteArray ended;
    QVERIFY(again.WaitForEndOfStream(&ended));
    QVERIFY2(ended.endsWith("Sorry!  The name Remo is taken here."), ended.constData());

    host.End();
    QVERIFY(remo.WaitForEndOfStream(&ended));
    QVERIFY2(ended.endsWith("VanuServer is Down"), ended.constData());
}

void TestTranslations::everyEntryIsFinished()
{
    const QDir folder(QStringLiteral(VANU_TS_FOLDER));
    const QStringList files = folder.entryList({QStringLiteral("vanu_*.ts")});
    QCOMPARE(files.size(), kLanguages.size() - 1);
    for (const QString &name : files) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString ts = QString::fromUtf8(file.readAll());
        QVERIFY2(!ts.contains(QStringLiteral("type=\"unfinished\"")), qPrintable(name));
        QVERIFY2(!ts.contains(QStringLiteral("<translation></translation>")), qPrintable(name));
        QVERIFY2(ts.count(QStringLiteral("<message")) > 200, qPrintable(name));
    }
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
