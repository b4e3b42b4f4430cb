// Desktop notifications: news from the chat while the user is not looking at
// the main window, and the "&Notify" switch, kept in the user's preferences.
#include "TForm4.h"

#include "CodePage.h"
#include "Notifier.h"
#include "TTrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QSettings>

namespace {

// The user's own preferences, beside the settings but never in a setup file,
// which other copies read.
QSettings Preferences()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vanu"),
                     QStringLiteral("preferences"));
}

const QString kNotifyKey = QStringLiteral("notifications");

// How many of the guest's own lines may be on their way back from the host.
constexpr qsizetype kOwnLinesKept = 64;

} // namespace

void TForm4::createNotifications()
{
    Notify1->setChecked(Preferences().value(kNotifyKey, true).toBool());
    seams.notifier.onActivated = [this] {
        Open1Click();
        raise();
        activateWindow();
    };
}

void TForm4::Notify1Click()
{
    Notify1->setChecked(!Notify1->isChecked());
    QSettings preferences = Preferences();
    preferences.setValue(kNotifyKey, Notify1->isChecked());
    if (!Notify1->isChecked())
        seams.notifier.Forget();
}

bool TForm4::UserIsLooking() const
{
    return isVisible() && !isMinimized() && isActiveWindow();
}

void TForm4::NotifyUser(const QString &news)
{
    if (!Notify1->isChecked() || UserIsLooking())
        return;
    if (!seams.notifier.Tell(news))
        TrayIcon1->ShowBalloon(QStringLiteral("Vanu"), news);
    // Once, until the user looks: a flood of lines is no flood of calls.
    if (!alerted) {
        QApplication::alert(this);
        alerted = true;
    }
}

void TForm4::NotifyUser(const QByteArray &text)
{
    if (!Notify1->isChecked() || UserIsLooking())
        return; // before the conversion: the host comes here for every line it relays
    // A chat line is told as it is shown: the name and the line, without the colour digit.
    const bool chatLine = text.size() > 1 && text[0] >= '0' && text[0] <= '9' && text[1] == '<';
    NotifyUser(seams.codePage.ToUnicode(chatLine ? text.mid(1) : text));
}

void TForm4::RememberOwnLine(const QByteArray &line)
{
    ownLines.append(line);
    if (ownLines.size() > kOwnLinesKept)
        ownLines.removeFirst();
}

bool TForm4::IsOwnLineBack(const QByteArray &text)
{
    const qsizetype at = ownLines.indexOf(text);
    if (at < 0)
        return false;
    ownLines.remove(0, at + 1); // and any that never came back
    return true;
}

void TForm4::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && UserIsLooking()) {
        seams.notifier.Forget(); // the user sees it all now
        alerted = false;
    }
}
