#include "MoveEnds.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <utility>

namespace {

// The end of the user's move or resize of the window: this long without another.
constexpr int kMoveEndsAfterMs = 250;

} // namespace

MoveEnds::MoveEnds(QWidget &window, std::function<void()> ended)
    : QObject(&window), window(window), ended(std::move(ended))
{
    quiet.setSingleShot(true);
    quiet.setInterval(kMoveEndsAfterMs);
    connect(&quiet, &QTimer::timeout, this, &MoveEnds::settled);
    window.installEventFilter(this);
}

bool MoveEnds::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (window.isVisible())
                quiet.start();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void MoveEnds::shown()
{
    if (std::exchange(centred, true))
        return;
    if (const QScreen *screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    placed = window.frameGeometry();
}

void MoveEnds::settled()
{
    // The program's own placement of the window is no move of the user's.
    if (window.frameGeometry() == placed)
        return;
    placed = QRect();
    ended();
}
