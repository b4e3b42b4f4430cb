#include "ChatNotifications.h"

#include "Notifier.h"
#include "TForm4.h"
#include "TTrayIcon.h"
#include "UserPreferences.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>

#include <utility>

namespace {

const QString kNotifyKey = QStringLiteral("notifications");

// How many of the guest's own lines may be on their way back from the host.
constexpr qsizetype kOwnLinesKept = 64;

} // namespace

ChatNotifications::ChatNotifications(TForm4 &main, Notifier &notifier)
    : main(main), notifier(notifier)
{
    notifySwitch = main.couponMenu->addAction(tr("&Notify"));
    KeepSwitchInPreferences(*notifySwitch, kNotifyKey, true);
    connect(notifySwitch, &QAction::toggled, this, [this](bool on) {
        if (!on)
            this->notifier.Forget();
    });
    notifier.onActivated = [&main] {
        main.Open1Click();
        main.raise();
        main.activateWindow();
    };
    main.installEventFilter(this);
    connect(&main, &TForm4::busyChanged, this, [this](bool busy) {
        if (!busy)
            tellWhatWasHeld();
    });
}

ChatNotifications::~ChatNotifications()
{
    notifier.onActivated = nullptr;
}

bool ChatNotifications::userIsLooking() const
{
    return main.isVisible() && !main.isMinimized() && main.isActiveWindow();
}

void ChatNotifications::tell(const QString &news)
{
    if (!notifySwitch->isChecked() || userIsLooking())
        return;
    const QString shown = WithVisibleControls(news);
    // Busy, the user is not disturbed: the news waits, the window still asks for attention.
    if (main.Imbusy1->isChecked()) {
        ++heldWhileBusy;
        lastHeld = shown;
        alert();
        return;
    }
    show(shown);
    alert();
}

void ChatNotifications::show(const QString &shown)
{
    if (!notifier.Tell(shown))
        main.TrayIcon1->ShowBalloon(QStringLiteral("Vanu"), shown);
}

void ChatNotifications::alert()
{
    // Once, until the user looks: a flood of lines is no flood of calls.
    if (!alerted) {
        QApplication::alert(&main);
        alerted = true;
    }
}

void ChatNotifications::tellWhatWasHeld()
{
    const int held = std::exchange(heldWhileBusy, 0);
    if (held == 0 || !notifySwitch->isChecked() || userIsLooking())
        return;
    show(held == 1 ? lastHeld : tr("While you were busy: %n new messages. The last: %1", nullptr, held).arg(lastHeld));
}

void ChatNotifications::privateMessage(const QString &from, const QString &text)
{
    tell(tr("Private message from %1: %2").arg(from, text));
}

void ChatNotifications::textShown(const ShownText &shown)
{
    if (shown.kind == ShownText::Kind::Departure) {
        tell(shown.text);
        return;
    }
    if (!shown.received || isOwnLineBack(shown.bytes))
        return;
    // A chat line is told as it is shown: the name and the line, without the colour digit.
    if (shown.kind == ShownText::Kind::ChatLine)
        tell(shown.text.mid(1)); // without the colour digit
    else
        tell(shown.text);
}

void ChatNotifications::ownLineSent(const QByteArray &line)
{
    ownLines.append(line);
    if (ownLines.size() > kOwnLinesKept)
        ownLines.removeFirst();
}

bool ChatNotifications::isOwnLineBack(const QByteArray &text)
{
    const qsizetype at = ownLines.indexOf(text);
    if (at < 0)
        return false;
    ownLines.remove(0, at + 1); // and any that never came back
    return true;
}

void ChatNotifications::guestAdmitted(const QString &address)
{
    tell(tr("New guest coming from address: %1").arg(address));
}

void ChatNotifications::hostLinkEnded(const QString &reason)
{
    tell(reason);
}

bool ChatNotifications::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &main && event->type() == QEvent::ActivationChange && userIsLooking()) {
        notifier.Forget(); // the user sees it all now
        alerted = false;
        heldWhileBusy = 0;
    }
    return QObject::eventFilter(watched, event);
}
