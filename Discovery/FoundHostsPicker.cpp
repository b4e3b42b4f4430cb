#include "FoundHostsPicker.h"

#include "LanDiscovery.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QSysInfo>
#include <QWidgetAction>

#include <algorithm>

namespace {

constexpr qsizetype kLongestShownName = 40;
constexpr qint64 kFillEveryMs = 250;
// The list's size: an entry's address, port and names mostly fit.
constexpr int kShownCharacters = 64;
constexpr int kFewestRows = 3;
constexpr int kMostRows = 10;

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
    QString text = QCoreApplication::translate("FoundHostsPicker", "%1:%2  %3 on %4")
                       .arg(host.address)
                       .arg(host.port)
                       .arg(Shown(host.nickname), Shown(host.machine));
    if (host.busy)
        text += QCoreApplication::translate("FoundHostsPicker", ", busy");
    return text;
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
    : QMenu(&hostField), hostField(hostField), discovery(discovery), entries(new QListWidget(this))
{
    findHosts = hostField.addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    findHosts->setToolTip(tr("Hosts on the network (Alt+Down)"));
    connect(findHosts, &QAction::triggered, this, &FoundHostsPicker::ShowFoundHosts);

    entries->setFrameShape(QFrame::NoFrame);
    entries->setUniformItemSizes(true);
    entries->setTextElideMode(Qt::ElideRight);
    entries->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    entries->setFixedWidth(QFontMetrics(entries->font()).averageCharWidth() * kShownCharacters);
    auto *holder = new QWidgetAction(this);
    holder->setDefaultWidget(entries);
    addAction(holder);
    connect(entries, &QListWidget::itemClicked, this, &FoundHostsPicker::Pick);
    connect(entries, &QListWidget::itemActivated, this, &FoundHostsPicker::Pick);

    refresh.setSingleShot(true);
    connect(&refresh, &QTimer::timeout, this, [this] {
        if (isVisible())
            Fill();
    });
    connect(&discovery, &LanDiscovery::Changed, this, &FoundHostsPicker::Refresh);
    hostField.installEventFilter(this);
    hostField.window()->installEventFilter(this);
}

void FoundHostsPicker::ShowFoundHosts()
{
    discovery.StartFinding();
    Fill();
    // As tall as the hosts known now need, within bounds; more scroll.
    const int rows = std::clamp(entries->count(), kFewestRows, kMostRows);
    entries->setFixedHeight(entries->sizeHintForRow(0) * rows + 2 * entries->frameWidth());
    popup(hostField.mapToGlobal(QPoint(0, hostField.height())));
    entries->setFocus(); // the keys go to the list
}

void FoundHostsPicker::Refresh()
{
    if (isVisible() && !refresh.isActive())
        refresh.start(int(std::max<qint64>(0, kFillEveryMs - sinceFilled.elapsed())));
}

void FoundHostsPicker::Fill()
{
    sinceFilled.start();
    const QString current = entries->currentItem() ? entries->currentItem()->text() : QString();
    entries->clear();
    shownHosts.clear();
    const auto notice = [this](const QString &text) { (new QListWidgetItem(text, entries))->setFlags(Qt::NoItemFlags); };
    if (!discovery.IsAvailable()) {
        notice(tr("Network discovery is not available"));
        return;
    }
    const QList<FoundHost> hosts = discovery.FoundHosts();
    if (hosts.isEmpty())
        notice(tr("No host found on the network yet"));
    const QString thisMachine = QSysInfo::machineHostName();
    QStringList shown;
    for (const FoundHost &host : hosts) {
        if (IsOfferable(host, thisMachine)) {
            shownHosts << host;
            shown << FoundHostEntry(host);
        }
    }
    entries->addItems(shown); // at once: the view takes them in one go, not one by one
    if (const qsizetype row = shown.indexOf(current); row >= 0)
        entries->setCurrentRow(int(row)); // where the keys left it
}

void FoundHostsPicker::Pick(const QListWidgetItem *entry)
{
    const int row = entries->row(entry);
    if (!isVisible() || !(entry->flags() & Qt::ItemIsEnabled) || row < 0 || row >= shownHosts.size())
        return;
    hide();
    emit picked(shownHosts[row].address, shownHosts[row].port);
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
