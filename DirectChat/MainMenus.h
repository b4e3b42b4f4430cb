#pragma once

#include <QCoreApplication>

#include <functional>

class TForm4;

// The main window's menus and the tray's, with the program's captions and
// access keys, each item calling its handler of the window.
class MainMenus {
    Q_DECLARE_TR_FUNCTIONS(MainMenus)
public:
    // Runs a handler as the window runs its own: an error it lets through is shown.
    using Guard = std::function<void(const std::function<void()> &handler)>;
    static void build(TForm4 &window, const Guard &guarded);
};
