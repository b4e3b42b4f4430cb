// The about box's links and the help box's text.
#include "TAboutBox.h"
#include "THelpBox.h"
#include "ProgramLook.h"
#include "TestDoubles.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <cmath>

namespace {

QString Look(QLabel *label)
{
    const QColor colour = label->palette().color(QPalette::WindowText);
    QString name = colour == Qt::blue ? "blue" : colour == Qt::red ? "red" : colour == QColor(0, 0, 128) ? "navy" : colour.name();
    return label->font().underline() ? name + " underlined" : name;
}

// How much lighter the lighter colour is, as the web's contrast ratio: 1 to 21.
double Contrast(const QColor &one, const QColor &other)
{
    const auto luminance = [](const QColor &colour) {
        const auto channel = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    const double first = luminance(one) + 0.05;
    const double second = luminance(other) + 0.05;
    return std::max(first, second) / std::min(first, second);
}

} // namespace

class TestAboutAndHelp : public QObject {
    Q_OBJECT
private slots:
    void helpText();
    void aboutTexts();
    void hoverRules();
    void linksOpenThroughTheShell();
    void helpLinesShowWhole();
    void readableUnderADarkPalette();
};

void TestAboutAndHelp::helpText()
{
    THelpBox help;
    QCOMPARE(help.windowTitle(), QStringLiteral("Help"));
    QCOMPARE(help.size(), QSize(276, 344));
    QVERIFY(help.Memo1->isReadOnly());
    QCOMPARE(help.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(help.Memo1->lineWrapMode(), QTextEdit::WidgetWidth);

    QTextDocument *text = help.Memo1->document();
    QCOMPARE(text->blockCount(), 28);
    QCOMPARE(text->findBlockByNumber(0).text(), QStringLiteral("Thank you for your choice."));
    QCOMPARE(text->findBlockByNumber(1).text(), QString());
    QCOMPARE(text->findBlockByNumber(6).text(), QStringLiteral("IP.  This is a program designed to assure clean, "));
    QCOMPARE(text->findBlockByNumber(11).text(),
             QStringLiteral("Chat\\Setup list by choosing \"Include\" or \"Exclude\", if "));
    QCOMPARE(text->findBlockByNumber(19).text(),
             QStringLiteral("have to select  \"I'm Busy\"  from HostTrayIcon. You "));
    QCOMPARE(text->findBlockByNumber(25).text(), QStringLiteral("that your IP setup is configured with DNS active."));
    QCOMPARE(text->findBlockByNumber(27).text(), QStringLiteral("instead of LocalHost.    I wish you good coupon !"));
    for (int line = 0; line < 28; ++line) {
        QCOMPARE(text->findBlockByNumber(line).text(), THelpBox::HelpLines()[line]);
        QCOMPARE(text->findBlockByNumber(line).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }
    QVERIFY(!help.windowIcon().pixmap(16).isNull());
}

void TestAboutAndHelp::aboutTexts()
{
    RecordingShell shell;
    TAboutBox about(QIcon(), shell);
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.size(), QSize(298, 260));
    QCOMPARE(about.ProductName->text(), QStringLiteral("Vanu Server&Client"));
    QCOMPARE(about.Version->text(), QStringLiteral("Version: 3.1"));
    QCOMPARE(about.Label3->text(), QStringLiteral("Mail me at:"));
    QCOMPARE(about.Label4->text(), QStringLiteral("or"));
    QCOMPARE(about.Label1->text(), TAboutBox::FirstMailAddress());
    QCOMPARE(about.Label2->text(), TAboutBox::SecondMailAddress());
    QVERIFY(about.Comments->text().startsWith(QStringLiteral("This is a multi-user chat.")));
    QVERIFY(about.Comments->wordWrap());
    QCOMPARE(about.Panel1->geometry(), QRect(8, 8, 281, 185));
    QCOMPARE(about.OKButton->geometry(), QRect(111, 220, 75, 25));
    QCOMPARE(Look(about.ProductName), QStringLiteral("navy"));
    QVERIFY(about.ProductName->font().bold());
    QCOMPARE(about.ProductName->font().pixelSize(), 13);
    QVERIFY(!about.windowIcon().pixmap(16).isNull());
}

// The mouse is moved for real over the shown box; each step names where it
// goes and what the three links look like afterwards.
void TestAboutAndHelp::hoverRules()
{
    RecordingShell shell;
    TAboutBox about(QIcon(), shell);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    struct Step {
        QWidget *over;
        const char *first;
        const char *second;
        const char *product;
    };
    const Step steps[] = {
        {about.Label1, "blue underlined", "red", "navy"},
        {about.Label2, "red", "blue underlined", "navy"},
        {about.Comments, "red", "blue underlined", "navy"}, // a label without a rule keeps the light
        {about.Panel1, "red", "red", "navy"},
        {about.ProductName, "red", "red", "red"},
        {about.Label1, "blue underlined", "red", "navy"},
        {&about, "red", "red", "navy"},
    };
    for (const Step &step : steps) {
        const QPoint inside = step.over == about.Panel1 ? QPoint(4, 4) : step.over == &about ? QPoint(4, 250)
                                                                                             : step.over->rect().center();
        QTest::mouseMove(step.over, inside);
        QTRY_COMPARE(Look(about.Label1), QString::fromLatin1(step.first));
        QCOMPARE(Look(about.Label2), QString::fromLatin1(step.second));
        QCOMPARE(Look(about.ProductName), QString::fromLatin1(step.product));
    }
    QCOMPARE(about.Label1->cursor().shape(), Qt::PointingHandCursor);
}

void TestAboutAndHelp::linksOpenThroughTheShell()
{
    RecordingShell shell;
    TAboutBox about(QIcon(), shell);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    // Enter as the box opens closes it, and opens nothing.
    QTRY_VERIFY(about.focusWidget());
    QTest::keyClick(about.focusWidget(), Qt::Key_Return);
    QCOMPARE(shell.opened, QStringList());
    QTRY_VERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.Label1, Qt::LeftButton);
    QTest::mouseClick(about.Label2, Qt::LeftButton);
    QTest::mouseClick(about.ProductName, Qt::LeftButton);
    QTest::mouseClick(about.Comments, Qt::LeftButton);
    QCOMPARE(shell.opened, (QStringList{"mailto:" + TAboutBox::FirstMailAddress(),
                                        "mailto:" + TAboutBox::SecondMailAddress(),
                                        "http://" + TAboutBox::WebPageAddress()}));

    // The same from the keyboard: the focus lights a link, Enter opens it.
    shell.opened.clear();
    about.Label2->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(Look(about.Label2), QStringLiteral("blue underlined"));
    QTest::keyClick(about.Label2, Qt::Key_Return);
    QCOMPARE(shell.opened, QStringList{"mailto:" + TAboutBox::SecondMailAddress()});
}

// At the program's own font, each of the help box's lines fits its width.
void TestAboutAndHelp::helpLinesShowWhole()
{
    UseProgramLook();
    THelpBox help;
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QStringList wrapped;
    for (QTextBlock block = help.Memo1->document()->begin(); block.isValid(); block = block.next())
        if (block.layout()->lineCount() != 1)
            wrapped << block.text();
    QCOMPARE(wrapped, QStringList());
}

// A dark desktop palette leaves both boxes readable.
void TestAboutAndHelp::readableUnderADarkPalette()
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(0x20, 0x20, 0x20));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xE0, 0xE0, 0xE0));
    QApplication::setPalette(dark);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });

    THelpBox help;
    const QPalette memo = help.Memo1->palette();
    QVERIFY(Contrast(memo.color(QPalette::Text), memo.color(QPalette::Base)) >= 4.5);

    RecordingShell shell;
    TAboutBox about(QIcon(), shell);
    const QColor panel = about.Panel1->palette().color(QPalette::Window);
    QVERIFY(about.Panel1->autoFillBackground());
    for (QLabel *label : about.Panel1->findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue; // the icon
        const double contrast = Contrast(label->palette().color(QPalette::WindowText), panel);
        QVERIFY2(contrast >= 3.0, qPrintable(label->text() + " " + QString::number(contrast)));
    }
}

QTEST_MAIN(TestAboutAndHelp)
#include "tst_aboutandhelp.moc"
