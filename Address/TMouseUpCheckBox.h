#pragma once

#include <QCheckBox>
#include <QMouseEvent>

// A check box that says when a mouse button was released over it, after the
// click has changed its mark, and when the keyboard (Space) has changed the
// mark, so that whatever the mouse does can be done from the keyboard too.
class TMouseUpCheckBox final : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

signals:
    void mouseReleased();
    void keyboardToggled();

protected:
    void keyReleaseEvent(QKeyEvent *event) override
    {
        const bool wasChecked = isChecked();
        QCheckBox::keyReleaseEvent(event);
        if (isChecked() != wasChecked)
            emit keyboardToggled();
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QCheckBox::mouseReleaseEvent(event);
        if (rect().contains(event->position().toPoint()))
            emit mouseReleased();
    }
};
