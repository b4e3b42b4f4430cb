// The input line: Enter sends what was typed as a chat line.
#include "TForm4.h"

#include "ChatFindBar.h"
#include "ColourTable.h"
#include "GuestMode.h"
#include "GuestSession.h"
#include "HostMode.h"
#include "HostSession.h"
#include "Protocol.h"
#include "TForm8.h"
#include "TTCPClient.h"
#include "TTCPServer.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

bool TForm4::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([this] { Edit1KeyPress(); });
            return true; // swallowed: never inserted, never a beep
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm4::enableInput(bool enabled)
{
    if (enabled)
        Edit1->setMaxLength(Protocol::LongestTypedText(toWire(chatNickname()).size()));
    const bool opening = enabled && !Edit1->isEnabled();
    Edit1->setEnabled(enabled);
    // What the user types next goes to the chat, as on joining, unless they
    // are in the find bar.
    if (opening && isActiveWindow() && !findBar->isAncestorOf(QApplication::focusWidget()))
        Edit1->setFocus();
}

void TForm4::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && Edit1->isEnabled()
        && !(findBar->isVisible() && findBar->isAncestorOf(focusWidget())))
        Edit1->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm4::Edit1KeyPress()
{
    if (Edit1->text().isEmpty())
        return;
    const TForm8 &setup = *windows.Form8;
    const char colour =
        ColourDigit(setup.ColourIndexText(), NamedColour(setup.ColourName()).value_or(QColor(Qt::blue)));
    const QString nickname = chatNickname();
    // The line must fit one read of a plain guest's, in the code page. A
    // nickname loaded since the input line was enabled may leave less room.
    QString typed = Edit1->text().left(Protocol::LongestTypedText(toWire(nickname).size()));
    if (!typed.isEmpty() && typed.back().isHighSurrogate())
        typed.chop(1); // not half a character
    if (typed.isEmpty())
        return;
    const QString line = QString::fromUtf8(Protocol::ChatLine(colour, nickname.toUtf8(), typed.toUtf8()));
    if (ImServer1->isChecked()) {
        if (hostMode->session().sendOwnLine(line)) {
            const QByteArray bytes = line.toUtf8();
            emit ownLineSent(bytes);
            AddChatLine(line, bytes, false);
        }
    } else if (ImClient1->isChecked()) {
        // Shown when the host sends it back.
        emit ownLineSent(guestMode->session().sendOwnLine(line));
    }
    Edit1->clear();
}
