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

QStringList THelpBox::HelpLines()
{
    // One text for translators, a line of the box per line of the text.
    return tr(
        "Thank you for your choice.\n"
        "\n"
        "Vanu\n"
        "\n"
        "In order you and your friends could find each other, \n"
        "one Server copy must be started on a PC with a fixed \n"
        "IP.  This is a program designed to assure clean, \n"
        "secure chat. It's secure because it uses only text. No \n"
        "one could penetrate to your PC unless you've filtered \n"
        "him, i.e. admitted him by his IP address. To specify \n"
        "people you admit, you have to enter their IP in \n"
        "Chat\\Setup list by choosing \"Include\" or \"Exclude\", if \n"
        "people are not desired. In Setup you may choose also \n"
        "your Nick and text colour. You may save your setup \n"
        "configuration if you want. Note that filters may be \n"
        "used as \"wild card\", i.e. to include or exclude whole \n"
        "networks. Everytime the program loads setup from a \n"
        "text file named \"LastSetup.set\".  When you need to \n"
        "have quietude from incoming gests to the server you \n"
        "have to select  \"I'm Busy\"  from HostTrayIcon. You \n"
        "can save the Chat text in \"DirChat(n).txt\" only by \n"
        "clicking on Chat\\Save command or to \"Save as...\" \n"
        "it with a name you want. If you want you can make \n"
        "Setup files, save and mail it to your friends who have \n"
        "Vanu program. The use of Host names will require \n"
        "that your IP setup is configured with DNS active.\n"
        "To avoide this use only  IP addresses,  i.e. 127.0.0.1 \n"
        "instead of LocalHost.    I wish you good coupon !")
        .split(QLatin1Char('\n'));
}

THelpBox::THelpBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Help"));
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

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setGeometry((276 - 74) / 2, 344 - kButtonStrip + (kButtonStrip - 25) / 2, 74, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}
