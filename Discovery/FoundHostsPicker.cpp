#include "FoundHostsPicker.h"

#include "LanDiscovery.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QSysInfo>

namespace {

constexpr qsizetype kLongestShownName = 40;

QString Shown(QString text)
{
    for (QChar &character : text)
        if (character.unicode() < 32 || character.unicode() == 127 || character.unicode() == 0x2028
            || character.unicode() == 0x2029)
            character = QLatin1Char(' ');
    return text.left(kLongestShownName);
}

} // namespace

QString FoundHostEntry(const FoundHost &host)
{
    QString text = QStringLiteral("%1:%2  %3 on %4").arg(host.address).arg(host.port).arg(Shown(host.nickname), Shown(host.machine));
    if (host.busy)
        text += QStringLiteral(", busy");
    // A menu text would take "&" as the mark of a shortcut.
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

bool IsOfferable(const FoundHost &host, const QString &thisMachine)
{
    const QList<QString> parts = host.address.split(QLatin1Char('.'));
    bool number = false;
    const int first = parts.size() == 4 ? parts[0].toInt(&number) : -1;
    if (!number || host.port == 0 || host.address == QLatin1String("0.0.0.0")
        || host.address == QLatin1String("255.255.255.255") || (first >= 224 && first <= 239))
        return false;
    return first != 127 || host.machine == thisMachine;
}

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
    const QString thisMachine = QSysInfo::machineHostName();
    for (const FoundHost &host : hosts) {
        if (!IsOfferable(host, thisMachine))
            continue;
        QAction *pick = addAction(FoundHostEntry(host));
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
