#include "TfFriends.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

const QColor kTeal(0x00, 0x80, 0x80);
const QColor kNavy(0x00, 0x00, 0x80);

QWidget *Strip(int height)
{
    auto *strip = new QWidget;
    strip->setFixedHeight(height);
    return strip;
}

} // namespace

TfFriends::TfFriends(QWidget &mainWindow, bool &friendsDocked, const QIcon &programIcon)
    : QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint),
      mainWindow(mainWindow), FriendsDocked(friendsDocked)
{
    setWindowTitle(tr("Friends"));
    setWindowIcon(programIcon);
    setMinimumWidth(kWidth);

    Panel2 = Strip(22);
    Panel1 = Strip(20);
    ListBox1 = new QListWidget;
    QPalette palette = ListBox1->palette();
    palette.setColor(QPalette::Base, kTeal);
    palette.setColor(QPalette::Text, kNavy);
    ListBox1->setPalette(palette);
    QFont bold = ListBox1->font();
    bold.setBold(true);
    ListBox1->setFont(bold);
    ListBox1->setSortingEnabled(false);
    ListBox1->setAccessibleName(tr("Participants"));
    ListBox1->setAccessibleDescription(tr("Everybody in the chat"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel2);
    layout->addWidget(ListBox1, 1);
    layout->addWidget(Panel1);

    PopupMenu1 = new QMenu(this);
    Chat1 = PopupMenu1->addAction(tr("Open"), this, &TfFriends::openRequested);
    ifo1 = PopupMenu1->addAction(tr("About"), this, &TfFriends::aboutRequested);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(at)); });

    QCoreApplication::instance()->installEventFilter(this);
    moveEnd.setSingleShot(true);
    moveEnd.setInterval(kMoveEndsAfterMs);
    connect(&moveEnd, &QTimer::timeout, this, &TfFriends::MoveOrResizeEnded);
    framesLookedFor.setInterval(50);
    connect(&framesLookedFor, &QTimer::timeout, this, [this] {
        PlaceOnceFramed();
        if (!placeOnceFramed || shown.elapsed() > kWindowManagerSettlesMs)
            framesLookedFor.stop();
    });

    // Placed at the main window's right edge from the start.
    const QRect main = mainWindow.frameGeometry();
    PlaceFrame(QRect(main.left() + main.width(), main.top(), kWidth, main.height()));
}

QStringList TfFriends::Lines() const
{
    QStringList lines;
    for (int row = 0; row < ListBox1->count(); ++row)
        lines << ListBox1->item(row)->text();
    return lines;
}

bool TfFriends::WindowsCanBePlaced()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void TfFriends::PlaceFrame(const QRect &frame)
{
    if (!WindowsCanBePlaced())
        return;
    // Frame and client differ by the window manager's decoration, if any.
    const int decorationWidth = frameGeometry().width() - width();
    const int decorationHeight = frameGeometry().height() - height();
    const QSize inside(std::max(kWidth, frame.width() - decorationWidth), frame.height() - decorationHeight);
    move(frame.topLeft());
    resize(inside);
    programmedFrame = QRect(frame.topLeft(), inside + QSize(decorationWidth, decorationHeight));
}

void TfFriends::PlaceAtMainWindow()
{
    const QRect main = mainWindow.frameGeometry();
    PlaceFrame(QRect(main.left() + main.width(), main.top(), frameGeometry().width(), main.height()));
}

bool TfFriends::StaysOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TfFriends::SetStaysOnTop(bool onTop)
{
    if (StaysOnTop() == onTop)
        return;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) // changing the flags hides a window
        show();
    GiveWayToOwnWindows();
}

bool TfFriends::OwnWindowOpen() const
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [this](const QWidget *window) {
        const Qt::WindowType type = window->windowType();
        // Not the tray's icon, a frameless window the window manager never stacks.
        const bool framed = !window->windowFlags().testAnyFlags(Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
        return window != this && window != &mainWindow && window->isVisible() && framed
               && (type == Qt::Dialog || type == Qt::Window || type == Qt::Sheet);
    });
}

void TfFriends::GiveWayToOwnWindows()
{
    QWindow *handle = windowHandle();
    if (!handle)
        return;
    // Through the platform window alone: the widget's flags would hide and map it again.
    Qt::WindowFlags flags = windowFlags();
    if (OwnWindowOpen())
        flags &= ~Qt::WindowStaysOnTopHint;
    if (handle->flags() != flags)
        handle->setFlags(flags);
}

bool TfFriends::eventFilter(QObject *watched, QEvent *event)
{
    const bool comesOrGoes = event->type() == QEvent::Show || event->type() == QEvent::Hide;
    if (comesOrGoes && watched != this && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
        QTimer::singleShot(0, this, &TfFriends::GiveWayToOwnWindows); // once it has come or gone
    return QWidget::eventFilter(watched, event);
}

void TfFriends::WMExitSizeMove()
{
    FriendsDocked = false;
    if (!WindowsCanBePlaced())
        return;
    SetStaysOnTop(false);
    const QRect main = mainWindow.frameGeometry();
    const QRect own = frameGeometry();
    if (std::abs(own.top() - main.top()) >= kSnapDistance)
        return;
    if (std::abs(own.left() - (main.left() + main.width())) < kSnapDistance) {
        PlaceAtMainWindow();
        FriendsDocked = true;
    }
}

void TfFriends::FollowMainWindow()
{
    if (!FriendsDocked || !WindowsCanBePlaced())
        return;
    SetStaysOnTop(true);
    PlaceAtMainWindow();
}

void TfFriends::MoveOrResizeEnded()
{
    if (!isVisible() || frameGeometry() == programmedFrame)
        return;
    if (FriendsDocked && shown.isValid() && shown.elapsed() < kWindowManagerSettlesMs)
        PlaceAtMainWindow();
    else
        WMExitSizeMove();
}

void TfFriends::showEvent(QShowEvent *event)
{
    resize(kWidth, height());
    programmedFrame = frameGeometry();
    shown.start();
    // Until the window manager has framed this window and the main one, the
    // placement takes their frames to be nothing; it is placed again once they are known.
    placeOnceFramed = !FramesKnown();
    if (placeOnceFramed)
        framesLookedFor.start();
    QWidget::showEvent(event);
}

bool TfFriends::FramesKnown() const
{
    return frameGeometry() != geometry() && mainWindow.frameGeometry() != mainWindow.geometry();
}

void TfFriends::PlaceOnceFramed()
{
    if (!placeOnceFramed || !FramesKnown())
        return;
    placeOnceFramed = false;
    if (FriendsDocked)
        PlaceAtMainWindow();
}

void TfFriends::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    PlaceOnceFramed();
    if (isVisible())
        moveEnd.start();
}

void TfFriends::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    PlaceOnceFramed();
    if (isVisible())
        moveEnd.start();
}

void TfFriends::closeEvent(QCloseEvent *event)
{
    emit closedByUser();
    event->accept(); // a top-level window that closes is hidden, not destroyed
}
