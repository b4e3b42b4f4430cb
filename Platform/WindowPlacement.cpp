#include "WindowPlacement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// Watches one window's shows and places it before it is mapped.
class Placement final : public QObject {
public:
    Placement(QWidget &window, const QWidget &owner) : QObject(&window), window(window), owner(owner)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &window && event->type() == QEvent::Show && !event->spontaneous())
            Place();
        return false;
    }

private:
    void Place()
    {
        const QScreen *screen = owner.screen();
        if (!screen)
            return;
        const QRect room = screen->availableGeometry();
        // Until the window manager has framed the window, its decoration is
        // taken to be the owner's.
        QSize decoration = window.frameGeometry().size() - window.geometry().size();
        if (decoration.isNull())
            decoration = owner.frameGeometry().size() - owner.geometry().size();
        const QRect over = owner.isVisible() && !owner.isMinimized() ? owner.frameGeometry() : room;
        const QRect frame = CentredWithin(window.size() + decoration, over, room);
        window.move(frame.topLeft());
    }

    QWidget &window;
    const QWidget &owner;
};

} // namespace

QRect CentredWithin(const QSize &frame, const QRect &over, const QRect &room)
{
    QRect placed(QPoint(), frame);
    placed.moveCenter(over.center());
    const int left = std::max(room.left(), std::min(placed.left(), room.right() + 1 - frame.width()));
    const int top = std::max(room.top(), std::min(placed.top(), room.bottom() + 1 - frame.height()));
    placed.moveTopLeft(QPoint(left, top));
    return placed;
}

void PlaceOverWhenShown(QWidget &window, const QWidget &owner)
{
    new Placement(window, owner);
}
