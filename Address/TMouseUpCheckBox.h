#pragma once

#include <QCheckBox>
#include <QMouseEvent>

// A check box that says when a mouse button was released over it, after the
// click has changed its mark. The keyboard changes the mark without it.
class TMouseUpCheckBox final : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

signals:
    void mouseReleased();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QCheckBox::mouseReleaseEvent(event);
        if (rect().contains(event->position().toPoint()))
            emit mouseReleased();
    }
};
