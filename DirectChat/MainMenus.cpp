#include "MainMenus.h"

#include "TForm4.h"
#include "UserPreferences.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

using Handler = void (TForm4::*)();

// An item that calls the window's handler; a checkable one leaves its check
// mark to the handler, which sets it as the chat's state says.
QAction *AddItem(QMenu *menu, const QString &caption, TForm4 &window, Handler handler, const MainMenus::Guard &guarded,
                 bool checkable = false)
{
    QAction *item = menu->addAction(caption);
    item->setCheckable(checkable);
    QObject::connect(item, &QAction::triggered, &window, [&window, item, handler, checkable, guarded] {
        if (checkable)
            item->setChecked(!item->isChecked());
        guarded([&window, handler] { (window.*handler)(); });
    });
    return item;
}

} // namespace

void MainMenus::build(TForm4 &window, const Guard &guarded)
{
    const auto add = [&](QMenu *menu, const QString &caption, Handler handler, bool checkable = false) {
        return AddItem(menu, caption, window, handler, guarded, checkable);
    };
    QMenu *chat = window.chatMenu = window.menuBar()->addMenu(tr("&Chat"));
    window.ImServer1 = add(chat, tr("I'm &Host"), &TForm4::ImServer1Click, true);
    window.ImClient1 = add(chat, tr("I'm  &Guest"), &TForm4::ImClient1Click, true);
    chat->addSeparator();
    window.Save1 = add(chat, tr("&Save Chat"), &TForm4::Save1Click);
    window.SaveAs1 = add(chat, tr("Save  &As..."), &TForm4::SaveAs1Click);
    chat->addSeparator();
    window.Setup1 = add(chat, tr("Se&tup"), &TForm4::Setup1Click);
    chat->addSeparator();
    window.CloseChat2 = add(chat, tr("Cl&ose Chat"), &TForm4::CloseChat2Click);
    chat->addSeparator();
    window.CloseForm1 = add(chat, tr("C&lose"), &TForm4::CloseForm1Click);
    window.Exit1 = add(chat, tr("&Exit"), &TForm4::Exit1Click);

    QMenu *coupon = window.couponMenu = window.menuBar()->addMenu(tr("C&oupon"));
    window.Inf1 = add(coupon, tr("&Friends"), &TForm4::Inf1Click, true);
    window.Quiet1 = add(coupon, tr("&Quiet"), &TForm4::Quiet1Click, true);
    window.reconnectSwitch = coupon->addAction(tr("&Reconnect"));
    KeepSwitchInPreferences(*window.reconnectSwitch, QStringLiteral("reconnect"), true);

    QMenu *help = window.menuBar()->addMenu(tr("&Help"));
    window.Help1 = add(help, tr("&About"), &TForm4::Help1Click);
    window.Help2 = add(help, tr("&Contents"), &TForm4::Help2Click);

    QMenu *tray = window.PopupMenu1 = new QMenu(&window);
    window.Open1 = add(tray, tr("Open"), &TForm4::Open1Click);
    window.Imbusy1 = add(tray, tr("I'm busy"), &TForm4::Imbusy1Click, true);
    window.Imbusy1->setVisible(false);
    // The tray menu's one command that no menu of the window has: Ctrl+B
    // reaches it from the keyboard while hosting.
    window.Imbusy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    window.addAction(window.Imbusy1);
    window.About1 = add(tray, tr("About"), &TForm4::About1Click);
    window.N4 = tray->addSeparator();
    window.Down1 = add(tray, tr("Close"), &TForm4::Down1Click);
    window.Trying1 = tray->addAction(tr("Trying ..."));
    QObject::connect(tray, &QMenu::aboutToShow, &window, [&window, guarded] { guarded([&window] { window.PopupMenu1Popup(); }); });
}
