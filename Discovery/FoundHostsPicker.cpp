#include "FoundHostsPicker.h"

#include "LanDiscovery.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>

namespace {

QString FoundHostText(const FoundHost &host)
{
    QString text = QStringLiteral("%1 on %2 (%3:%4)").arg(host.nickname, host.machine, host.address).arg(host.port);
    if (host.busy)
        text += QStringLiteral(", busy");
    // A menu text would take "&" as the mark of a shortcut.
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

FoundHostsPicker::FoundHostsPicker(QLineEdit &hostField, LanDiscovery &discovery)
    : QMenu(&hostField), hostField(hostField), discovery(discovery)
{
    findHosts = hostField.addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    findHosts->setToolTip(QStringLiteral("Hosts on the network (Alt+Down)"));
    connect(findHosts, &QAction::triggered, this, &FoundHostsPicker::ShowFoundHosts);
    connect(&discovery, &LanDiscovery::Changed, this, [this] {
        if (isVisible())
            Fill();
    });
    hostField.installEventFilter(this);
    hostField.window()->installEventFilter(this);
}

void FoundHostsPicker::ShowFoundHosts()
{
    discovery.StartFinding();
    Fill();
    popup(hostField.mapToGlobal(QPoint(0, hostField.height())));
}

void FoundHostsPicker::Fill()
{
    clear();
    const auto notice = [this](const QString &text) { addAction(text)->setEnabled(false); };
    if (!discovery.IsAvailable()) {
        notice(QStringLiteral("Network discovery is not available"));
        return;
    }
    const QList<FoundHost> hosts = discovery.FoundHosts();
    if (hosts.isEmpty())
        notice(QStringLiteral("No host found on the network yet"));
    for (const FoundHost &host : hosts) {
        QAction *pick = addAction(FoundHostText(host));
        connect(pick, &QAction::triggered, this, [this, host] { emit picked(host.address, host.port); });
    }
}

bool FoundHostsPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &hostField && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier) {
            ShowFoundHosts();
            return true;
        }
    }
    if (watched == hostField.window() && event->type() == QEvent::Show)
        discovery.StartFinding();
    return QMenu::eventFilter(watched, event);
}
