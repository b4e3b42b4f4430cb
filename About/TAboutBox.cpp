#include "TAboutBox.h"

#include "AboutConfig.h"
#include "Shell.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

const QColor kNavy(0x00, 0x00, 0x80);
// The panel keeps the light face of a classic window whatever the desktop's
// palette, so that the navy name and the red and blue links stay readable.
const QColor kWindowFace(0xF0, 0xF0, 0xF0);

void SetTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// Moves a label left, when it is wider than its place, so that it ends a few
// pixels before the label that follows it on its line.
void KeepLeftOf(QLabel *label, const QLabel *next)
{
    constexpr int kGap = 3;
    const int overlap = label->geometry().right() + kGap - next->x();
    if (overlap > 0)
        label->move(qMax(0, label->x() - overlap), label->y());
}

} // namespace

TAboutBox::TAboutBox(const QIcon &programIcon, Shell &shell, QWidget *parent) : QDialog(parent), shell(shell)
{
    setWindowTitle(tr("About"));
    setWindowIcon(QIcon(QStringLiteral(":/About/busy.png")));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(298, 260);
    setMouseTracking(true);
    installEventFilter(this);
    createPanel(programIcon);

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setGeometry(111, 220, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    OKButton->setFocus(Qt::OtherFocusReason);
}

QString TAboutBox::FirstMailAddress()
{
    return QStringLiteral(VANU_MAIL_FIRST);
}

QString TAboutBox::SecondMailAddress()
{
    return QStringLiteral(VANU_MAIL_SECOND);
}

QString TAboutBox::WebPageAddress()
{
    return QStringLiteral(VANU_WEB_PAGE);
}

QLabel *TAboutBox::AddLabel(const QString &text, int x, int y)
{
    auto *label = new QLabel(text, Panel1);
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void TAboutBox::createPanel(const QIcon &programIcon)
{
    Panel1 = new QFrame(this);
    Panel1->setGeometry(8, 8, 281, 185);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    QPalette face = Panel1->palette();
    face.setColor(QPalette::Window, kWindowFace);
    face.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(face);
    Panel1->setAutoFillBackground(true);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(16, 19, 33, 33);
    ProgramIcon->setPixmap(programIcon.pixmap(33, 33));
    ProgramIcon->setScaledContents(true);

    ProductName = AddLabel(tr("Vanu Server&Client"), 74, 16);
    QFont productFont = ProductName->font();
    productFont.setBold(true);
    productFont.setPixelSize(13);
    ProductName->setFont(productFont);
    ProductName->adjustSize();
    Version = AddLabel(tr("Version: 3.1"), 112, 32);
    Copyright = AddLabel(QStringLiteral(VANU_AUTHOR_LINE), 72, 48);
    Comments = AddLabel(tr("This is a multi-user chat. To use it best, run it on more than one PC with at "
                           "least one copy in server mode. Then connect all of the other copies to that "
                           "server's address. You will then be able to chat to each other much like IRC."),
                        16, 64);
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->resize(237, 65);
    Label3 = AddLabel(tr("Mail me at:"), 64, 136);
    Label1 = AddLabel(FirstMailAddress(), 121, 136);
    Label4 = AddLabel(tr("or"), 72, 152);
    Label2 = AddLabel(SecondMailAddress(), 87, 152);
    // A longer word in another language ends just before its address.
    KeepLeftOf(Label3, Label1);
    KeepLeftOf(Label4, Label2);

    // The links and the surfaces around them follow the mouse; every other
    // label keeps mouse moves to itself, so a lit link stays lit over it.
    for (QWidget *tracked : {static_cast<QWidget *>(Panel1), static_cast<QWidget *>(ProductName),
                             static_cast<QWidget *>(Label1), static_cast<QWidget *>(Label2)}) {
        tracked->setMouseTracking(true);
        tracked->installEventFilter(this);
    }
    ShowProductName(false);
    ShowLink(Label1, false);
    ShowLink(Label2, false);
    ProductName->setAccessibleName(tr("Web page"));
    Label1->setAccessibleName(tr("Mail to %1").arg(FirstMailAddress()));
    Label2->setAccessibleName(tr("Mail to %1").arg(SecondMailAddress()));
    for (QLabel *link : {ProductName, Label1, Label2})
        link->setFocusPolicy(Qt::TabFocus);
}

void TAboutBox::ShowLink(QLabel *link, bool lit)
{
    SetTextColour(link, lit ? QColor(Qt::blue) : QColor(Qt::red));
    QFont font = link->font();
    font.setUnderline(lit);
    link->setFont(font);
    if (lit)
        link->setCursor(Qt::PointingHandCursor);
}

void TAboutBox::ShowProductName(bool lit)
{
    SetTextColour(ProductName, lit ? QColor(Qt::red) : kNavy);
    if (lit)
        ProductName->setCursor(Qt::PointingHandCursor);
}

void TAboutBox::Label1MouseMove()
{
    ShowLink(Label1, true);
    ShowLink(Label2, false);
    ShowProductName(false);
}

void TAboutBox::Label2MouseMove()
{
    ShowLink(Label2, true);
    ShowLink(Label1, false);
    ShowProductName(false);
}

void TAboutBox::ProductNameMouseMove()
{
    ShowProductName(true);
}

void TAboutBox::Panel1MouseMove()
{
    ShowLink(Label1, false);
    ShowLink(Label2, false);
    ShowProductName(false);
}

void TAboutBox::FormMouseMove()
{
    Panel1MouseMove();
}

void TAboutBox::Label1Click()
{
    shell.Open(QStringLiteral("mailto:") + FirstMailAddress());
}

void TAboutBox::Label2Click()
{
    shell.Open(QStringLiteral("mailto:") + SecondMailAddress());
}

void TAboutBox::ProductNameClick()
{
    shell.Open(QStringLiteral("http://") + WebPageAddress());
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        MouseMovedOver(watched);
        return true; // handled here, not again by the surface below
    }
    if (event->type() == QEvent::MouseButtonRelease)
        OpenLink(watched);
    // The keyboard's way to the links: Tab lights one as the mouse does,
    // Enter or Space opens it.
    if (event->type() == QEvent::FocusIn) {
        Panel1MouseMove();
        MouseMovedOver(watched);
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && OpenLink(watched))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::MouseMovedOver(QObject *watched)
{
    if (watched == Label1)
        Label1MouseMove();
    else if (watched == Label2)
        Label2MouseMove();
    else if (watched == ProductName)
        ProductNameMouseMove();
    else if (watched == Panel1)
        Panel1MouseMove();
    else if (watched == this)
        FormMouseMove();
}

bool TAboutBox::OpenLink(QObject *link)
{
    if (link == Label1)
        Label1Click();
    else if (link == Label2)
        Label2Click();
    else if (link == ProductName)
        ProductNameClick();
    else
        return false;
    return true;
}
