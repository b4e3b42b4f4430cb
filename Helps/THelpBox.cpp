#include "THelpBox.h"

#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace {

const QColor kWindowFace(0xF0, 0xF0, 0xF0);

// The desktop's style with scroll bars 10 pixels wide.
class NarrowScrollBars final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_ScrollBarExtent)
            return 10;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

const QStringList &THelpBox::HelpLines()
{
    static const QStringList lines = {
        QStringLiteral("Thank you for your choice."),
        QStringLiteral(""),
        QStringLiteral("Vanu"),
        QStringLiteral(""),
        QStringLiteral("In order you and your friends could find each other, "),
        QStringLiteral("one Server copy must be started on a PC with a fixed "),
        QStringLiteral("IP.  This is a program designed to assure clean, "),
        QStringLiteral("secure chat. It's secure because it uses only text. No "),
        QStringLiteral("one could penetrate to your PC unless you've filtered "),
        QStringLiteral("him, i.e. admitted him by his IP address. To specify "),
        QStringLiteral("people you admit, you have to enter their IP in "),
        QStringLiteral("Chat\\Setup list by choosing \"Include\" or \"Exclude\", if "),
        QStringLiteral("people are not desired. In Setup you may choose also "),
        QStringLiteral("your Nick and text colour. You may save your setup "),
        QStringLiteral("configuration if you want. Note that filters may be "),
        QStringLiteral("used as \"wild card\", i.e. to include or exclude whole "),
        QStringLiteral("networks. Everytime the program loads setup from a "),
        QStringLiteral("text file named \"LastSetup.set\".  When you need to "),
        QStringLiteral("have quietude from incoming gests to the server you "),
        QStringLiteral("have to select  \"I'm Busy\"  from HostTrayIcon. You "),
        QStringLiteral("can save the Chat text in \"DirChat(n).txt\" only by "),
        QStringLiteral("clicking on Chat\\Save command or to \"Save as...\" "),
        QStringLiteral("it with a name you want. If you want you can make "),
        QStringLiteral("Setup files, save and mail it to your friends who have "),
        QStringLiteral("Vanu program. The use of Host names will require "),
        QStringLiteral("that your IP setup is configured with DNS active."),
        QStringLiteral("To avoide this use only  IP addresses,  i.e. 127.0.0.1 "),
        QStringLiteral("instead of LocalHost.    I wish you good coupon !"),
    };
    return lines;
}

THelpBox::THelpBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Help"));
    setWindowIcon(QIcon(QStringLiteral(":/Helps/host.png")));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(276, 344);

    constexpr int kButtonStrip = 37;
    Memo1 = new QTextEdit(this);
    Memo1->setGeometry(0, 0, 276, 344 - kButtonStrip);
    Memo1->setReadOnly(true);
    Memo1->setAcceptRichText(false);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
    // Black text on the light face of a classic window, whatever the desktop's
    // palette: on a dark window colour black text could not be read.
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, kWindowFace);
    palette.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(palette);
    // The longest line takes 266 of the box's 276 pixels: it fits beside the
    // scroll bar only without a frame or a document margin and with a narrow bar.
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->document()->setDocumentMargin(0);
    auto *narrowBars = new NarrowScrollBars;
    narrowBars->setParent(this);
    Memo1->verticalScrollBar()->setStyle(narrowBars);
    Memo1->setPlainText(HelpLines().join(QLatin1Char('\n')));
    QTextCursor everything(Memo1->document());
    everything.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    everything.mergeBlockFormat(centred);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry((276 - 74) / 2, 344 - kButtonStrip + (kButtonStrip - 25) / 2, 74, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}
