#include "Padlock.h"

#include "SecureChat.h"

#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>

Padlock::Padlock(const SecureChat &secure, QStatusBar &statusBar)
    : QObject(&statusBar), secure(secure), lock(new QLabel(&statusBar)), text(new QLabel(&statusBar))
{
    lock->setPixmap(pixmap(statusBar.fontMetrics().height()));
    statusBar.addPermanentWidget(lock);
    statusBar.addPermanentWidget(text);
    refresh();
}

void Padlock::refresh()
{
    text->setText(secure.padlockText());
    text->setToolTip(secure.padlockTip());
    text->setAccessibleName(text->text());
    text->setAccessibleDescription(text->toolTip());
    text->setVisible(!text->text().isEmpty());
    lock->setToolTip(text->toolTip());
    lock->setVisible(text->isVisible() && secure.padlockClosed());
}

void Padlock::refreshSoon()
{
    QTimer::singleShot(0, this, &Padlock::refresh);
}

QPixmap Padlock::pixmap(int height)
{
    QPixmap pixmap(height, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = height / 16.0;
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 2 * unit));
    painter.drawArc(QRectF(4.5 * unit, 1.5 * unit, 7 * unit, 9 * unit), 0, 180 * 16); // the shackle
    painter.drawLine(QPointF(4.5 * unit, 6 * unit), QPointF(4.5 * unit, 8 * unit));
    painter.drawLine(QPointF(11.5 * unit, 6 * unit), QPointF(11.5 * unit, 8 * unit));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc8, 0x96, 0x1e));
    painter.drawRoundedRect(QRectF(2.5 * unit, 7.5 * unit, 11 * unit, 8 * unit), 1.5 * unit, 1.5 * unit); // the body
    return pixmap;
}
