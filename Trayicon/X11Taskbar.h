#pragma once

class QWidget;

// Sets or clears _NET_WM_STATE_SKIP_TASKBAR on a top-level window under X11;
// does nothing on any other windowing system. A mapped window asks the window
// manager; an unmapped one carries the state in its property, which the window
// manager reads when it maps the window.
void SetSkipTaskbar(QWidget *window, bool skip, bool mapped);
