// The find bar under the chat view.
#include "ChatFindBar.h"
#include "TestProgram.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

class TestFindBar : public QObject {
    Q_OBJECT
private slots:
    void findInTheChat();
};

// Ctrl+F finds in coloured lines and Cyrillic text, whatever the case, steps
// both ways round, and leaves the view's text as it was.
void TestFindBar::findInTheChat()
{
    TestProgram test;
    TForm4 &main = test.Main();
    main.AddChatLine(QByteArray("3<Anna> hello there"));
    main.AddChatLine(QString::fromUtf8("0<Юля> привет всем"));
    main.AddChatLine(QString::fromUtf8("5<Bob> Привет, Юля"));
    main.showPendingChatLines();
    const QString text = main.RichEdit1->toPlainText();
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    ChatFindBar &bar = *main.findBar;
    QVERIFY(!bar.isVisible());
    QTest::keyClick(&main, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar.isVisible());
    QVERIFY(bar.FindText->hasFocus());

    bar.FindText->insert(QString::fromUtf8("прив")); // as typed, a few letters at a time
    bar.FindText->insert(QString::fromUtf8("ет"));
    QCOMPARE(bar.CountText(), QStringLiteral("1 of 2"));
    QCOMPARE(main.RichEdit1->extraSelections().size(), 2);
    QTest::keyClick(bar.FindText, Qt::Key_Return);
    QCOMPARE(bar.CountText(), QStringLiteral("2 of 2"));
    QTest::keyClick(bar.FindText, Qt::Key_Return);
    QCOMPARE(bar.CountText(), QStringLiteral("1 of 2"));
    QTest::keyClick(bar.FindText, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(bar.CountText(), QStringLiteral("2 of 2"));
    QCOMPARE(main.RichEdit1->textCursor().block().text(), QString::fromUtf8(" Привет, Юля"));
    QCOMPARE(main.RichEdit1->toPlainText(), text);

    QTest::keyClicks(bar.FindText, QStringLiteral("zz"));
    QCOMPARE(bar.CountText(), QStringLiteral("0 of 0"));
    QCOMPARE(main.RichEdit1->extraSelections().size(), 0);
    QTest::keyClick(bar.FindText, Qt::Key_Escape);
    QVERIFY(!bar.isVisible());
    QCOMPARE(main.RichEdit1->toPlainText(), text);
}

QTEST_MAIN(TestFindBar)
#include "tst_findbar.moc"
