// The setup dialog's list of the hosts found on the network, a drop-down on
// the host field: one click opens it, a second picks a host.
#include "TForm8.h"

#include "LanDiscovery.h"
#include "TMouseUpCheckBox.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
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

void TForm8::OfferHostsFrom(LanDiscovery &lan)
{
    discovery = &lan;
    FoundHostsMenu = new QMenu(this);
    FindHosts = eHost->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    FindHosts->setToolTip(QStringLiteral("Hosts on the network (Alt+Down)"));
    connect(FindHosts, &QAction::triggered, this, &TForm8::ShowFoundHosts);
    // The open list follows the hosts as they come and go.
    connect(&lan, &LanDiscovery::Changed, this, [this] {
        if (FoundHostsMenu->isVisible())
            FillFoundHostsMenu();
    });
    eHost->installEventFilter(this);
}

void TForm8::ShowFoundHosts()
{
    discovery->StartFinding();
    FillFoundHostsMenu();
    FoundHostsMenu->popup(eHost->mapToGlobal(QPoint(0, eHost->height())));
}

void TForm8::FillFoundHostsMenu()
{
    FoundHostsMenu->clear();
    const auto notice = [this](const QString &text) { FoundHostsMenu->addAction(text)->setEnabled(false); };
    if (!discovery->IsAvailable()) {
        notice(QStringLiteral("Network discovery is not available"));
        return;
    }
    const QList<FoundHost> hosts = discovery->FoundHosts();
    if (hosts.isEmpty())
        notice(QStringLiteral("No host found on the network yet"));
    for (const FoundHost &host : hosts) {
        QAction *pick = FoundHostsMenu->addAction(FoundHostText(host));
        connect(pick, &QAction::triggered, this, [this, host] { PickFoundHost(host); });
    }
}

void TForm8::PickFoundHost(const FoundHost &host)
{
    // Saved as its address, as if it had been typed.
    eHost->setText(host.address);
    const bool defaultPort = host.port == SetupSettings::kDefaultPort;
    CheckBox1->setChecked(defaultPort);
    ePort->setReadOnly(defaultPort);
    ePort->setText(QString::number(host.port));
}
