#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

#include <functional>

class QWidget;

// Watches a window for the end of the user's move or resize (a while without
// another) and calls `ended` then. The window is centred on its screen once,
// when it is first shown, and that placement of the program's own is no move
// of the user's.
class MoveEnds : public QObject {
    Q_OBJECT
public:
    MoveEnds(QWidget &window, std::function<void()> ended);
    // The window is being shown: the first time, it is centred.
    void shown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void settled();

    QWidget &window;
    std::function<void()> ended;
    bool centred = false;
    QTimer quiet;
    // Where the program itself last put the window.
    QRect placed;
};
