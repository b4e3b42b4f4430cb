#include "SecureChatDialog.h"

#include "HostIdentity.h"
#include "SecureChat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLocale>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

SecureChatDialog::SecureChatDialog(SecureChat &secure, QWidget *parent) : QDialog(parent), secure(secure)
{
    setWindowTitle(tr("Secure chat"));
    fingerprint = new QLabel(this);
    fingerprint->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    fingerprint->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    fingerprint->setWordWrap(true);
    fingerprint->setAccessibleName(tr("This copy's fingerprint"));

    hostMode = new QComboBox(this);
    hostMode->addItem(tr("Do not offer secure chat"), QStringLiteral("off"));
    hostMode->addItem(tr("Offer secure chat beside the plain one"), QStringLiteral("offer"));
    hostMode->addItem(tr("Require secure chat of every guest"), QStringLiteral("require"));
    connect(hostMode, &QComboBox::activated, this,
            [this] { this->secure.setHostMode(hostMode->currentData().toString()); });

    joinSecurely = new QCheckBox(tr("&Join hosts securely where they offer it"), this);
    connect(joinSecurely, &QCheckBox::toggled, this, [this](bool on) { this->secure.setJoiningSecurely(on); });

    password = new QLineEdit(this);
    password->setEchoMode(QLineEdit::Password);
    password->setAccessibleName(tr("Chat password"));
    auto *setPassword = new QPushButton(tr("&Set"), this);
    auto *clearPassword = new QPushButton(tr("C&lear"), this);
    passwordState = new QLabel(this);
    connect(setPassword, &QPushButton::clicked, this, [this] {
        if (password->text().isEmpty())
            return;
        this->secure.setPassword(password->text());
        password->clear();
        Refresh();
    });
    connect(clearPassword, &QPushButton::clicked, this, [this] {
        this->secure.setPassword(QString());
        password->clear();
        Refresh();
    });
    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(password, 1);
    passwordRow->addWidget(setPassword);
    passwordRow->addWidget(clearPassword);

    knownHosts = makeList({tr("Host"), tr("Fingerprint")}, tr("Known hosts"));
    holdNames = new QCheckBox(tr("Hold each guest's &name for its key for 30 days"), this);
    connect(holdNames, &QCheckBox::toggled, this, [this](bool on) { this->secure.setHoldingNames(on); });
    heldNames = makeList({tr("Name"), tr("Key"), tr("Last seen")}, tr("Held names"));
    relayFiles = new QCheckBox(tr("&Relay files between guests"), this);
    largestRelayed = new QSpinBox(this);
    largestRelayed->setRange(0, 1024 * 1024);
    largestRelayed->setSuffix(tr(" MiB"));
    largestRelayed->setSpecialValueText(tr("any size"));
    largestRelayed->setAccessibleName(tr("Largest file relayed"));
    const auto relayingChosen = [this] {
        largestRelayed->setEnabled(relayFiles->isChecked());
        this->secure.setFileRelaying(relayFiles->isChecked(), largestRelayed->value());
    };
    connect(relayFiles, &QCheckBox::clicked, this, relayingChosen);
    connect(largestRelayed, &QSpinBox::editingFinished, this, relayingChosen);
    auto *relayRow = new QHBoxLayout;
    relayRow->addWidget(relayFiles);
    auto *largestLabel = new QLabel(tr("&Largest file:"), this);
    largestLabel->setBuddy(largestRelayed);
    relayRow->addWidget(largestLabel);
    relayRow->addWidget(largestRelayed);
    relayRow->addStretch();

    auto *form = new QFormLayout;
    form->addRow(tr("This copy's fingerprint:"), fingerprint);
    form->addRow(tr("When &hosting:"), hostMode);
    form->addRow(QString(), joinSecurely);
    auto *passwordLabel = new QLabel(tr("Chat &password:"), this);
    passwordLabel->setBuddy(password);
    form->addRow(passwordLabel, passwordRow);
    form->addRow(QString(), passwordState);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("Hosts known by their keys:"), this));
    layout->addWidget(knownHosts, 1);
    layout->addWidget(holdNames);
    layout->addWidget(heldNames, 1);
    layout->addLayout(relayRow);
    layout->addWidget(buttons);
    resize(800, 560);
    Refresh();
}

void SecureChatDialog::Refresh()
{
    const QByteArray own = secure.hostFingerprint();
    fingerprint->setText(own.isEmpty() ? tr("(no key could be made)") : FingerprintText(own));
    hostMode->setCurrentIndex(int(SecureChat::hostModeChosen())); // listed in the modes' order
    joinSecurely->setChecked(SecureChat::guestModeChosen() == SecureChat::GuestMode::Prefer);
    passwordState->setText(SecureChat::hasPassword() ? tr("A password is set: guests are asked for it.")
                                                     : tr("No password is set."));
    holdNames->setChecked(SecureChat::holdsNames());
    relayFiles->setChecked(SecureChat::relaysFiles());
    largestRelayed->setValue(SecureChat::largestRelayedMiB());
    largestRelayed->setEnabled(relayFiles->isChecked());
    ListKnownHosts();
    ListHeldNames();
}

QTreeWidget *SecureChatDialog::makeList(const QStringList &headers, const QString &name)
{
    auto *list = new QTreeWidget(this);
    list->setHeaderLabels(headers + QStringList{QString()});
    list->setRootIsDecorated(false);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->setAccessibleName(name);
    return list;
}

void SecureChatDialog::ListHeldNames()
{
    heldNames->clear();
    for (const HeldNames::Held &held : secure.heldNames().held(QDateTime::currentMSecsSinceEpoch())) {
        auto *item = new QTreeWidgetItem(heldNames, {held.name, FingerprintText(held.key).left(19),
                                                     QLocale().toString(QDateTime::fromMSecsSinceEpoch(held.lastSeenMs),
                                                                        QLocale::ShortFormat)});
        item->setToolTip(1, FingerprintText(held.key));
        auto *release = new QPushButton(tr("Release"), heldNames);
        release->setAccessibleName(tr("Release %1").arg(held.name));
        connect(release, &QPushButton::clicked, this, [this, name = held.name] {
            secure.heldNames().release(name);
            ListHeldNames();
        });
        heldNames->setItemWidget(item, 3, release);
    }
}

void SecureChatDialog::ListKnownHosts()
{
    knownHosts->clear();
    for (const KnownHosts::Host &host : secure.known().Hosts()) {
        auto *item = new QTreeWidgetItem(knownHosts, {host.address + QLatin1Char(':') + QString::number(host.port),
                                                      FingerprintText(host.fingerprint)});
        auto *forget = new QPushButton(tr("Forget"), knownHosts);
        forget->setAccessibleName(tr("Forget %1").arg(item->text(0)));
        connect(forget, &QPushButton::clicked, this, [this, host] {
            secure.known().Forget(host.address, host.port);
            ListKnownHosts();
        });
        knownHosts->setItemWidget(item, 2, forget);
    }
}
