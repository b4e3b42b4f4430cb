#include "TransferCard.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace TransferText {

QString size(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString files(int count)
{
    return count == 1 ? QCoreApplication::translate("TransferCard", "1 file")
                      : QCoreApplication::translate("TransferCard", "%n files", nullptr, count);
}

QString names(const FileTransfers::Item &item)
{
    const QString first = item.names.value(0);
    return item.files > 1 ? QCoreApplication::translate("TransferCard", "%1 and %n more", nullptr, item.files - 1).arg(first)
                          : first;
}

QString state(const FileTransfers::Item &item)
{
    using State = TransferRecord::State;
    switch (item.state) {
    case State::Offered:
        return item.sending ? QCoreApplication::translate("TransferCard", "Waiting for %1 to answer.").arg(item.peerName)
                            : QCoreApplication::translate("TransferCard", "Waiting for your answer.");
    case State::Paused:
        return QCoreApplication::translate("TransferCard", "Paused.");
    case State::Done:
        return item.sending ? QCoreApplication::translate("TransferCard", "Sent: %1 has it, checked.").arg(item.peerName)
                            : QCoreApplication::translate("TransferCard", "Arrived, checked: %1").arg(item.saved.value(0));
    case State::Failed:
        return QCoreApplication::translate("TransferCard", "Failed: %1").arg(item.reason);
    case State::Going:
        break;
    }
    if (!item.note.isEmpty())
        return item.note;
    return QCoreApplication::translate("TransferCard", "%1 of %2").arg(size(item.done), size(item.total));
}

QString speed(const FileTransfers::Item &item)
{
    if (item.state != TransferRecord::State::Going || item.speed < 1)
        return {};
    return QCoreApplication::translate("TransferCard", "%1/s").arg(size(qint64(item.speed)));
}

int permille(const FileTransfers::Item &item)
{
    if (item.total > 0)
        return int(item.done * 1000 / item.total);
    return item.state == TransferRecord::State::Done ? 1000 : 0;
}

QString timeLeft(const FileTransfers::Item &item)
{
    if (item.state != TransferRecord::State::Going || item.speed < 1)
        return {};
    const int seconds = int(std::min(double(item.total - item.done) / item.speed, 1e9));
    const int minutes = seconds / 60, hours = minutes / 60;
    if (minutes == 0)
        return QCoreApplication::translate("TransferCard", "%n s left", nullptr, seconds);
    if (hours == 0)
        return QCoreApplication::translate("TransferCard", "%n min left", nullptr, minutes);
    return QCoreApplication::translate("TransferCard", "%n h left", nullptr, hours);
}

} // namespace TransferText

TransferCard::TransferCard(const QString &id, QWidget *parent) : QFrame(parent), transferId(id)
{
    setFrameShape(QFrame::StyledPanel);
    Title = new QLabel;
    Title->setWordWrap(true);
    Title->setTextFormat(Qt::PlainText);
    Progress = new QProgressBar;
    Progress->setRange(0, 1000);
    Progress->setTextVisible(false);
    State = new QLabel;
    State->setWordWrap(true);
    State->setTextFormat(Qt::PlainText);
    Accept = new QPushButton(tr("&Accept"));
    SaveAs = new QPushButton(tr("&Save as..."));
    Decline = new QPushButton(tr("&Decline"));
    AlwaysAccept = new QCheckBox(tr("Al&ways accept from this person"));
    PauseOrResume = new QPushButton(tr("&Pause"));
    Cancel = new QPushButton(tr("&Cancel"));
    Open = new QPushButton(tr("&Open"));
    ShowInFolder = new QPushButton(tr("Show in fo&lder"));
    auto *buttons = new QHBoxLayout;
    const QList<QPushButton *> all{Accept, SaveAs, Decline, PauseOrResume, Cancel, Open, ShowInFolder};
    for (QPushButton *button : all)
        buttons->addWidget(button);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(Title);
    layout->addWidget(Progress);
    layout->addWidget(State);
    layout->addLayout(buttons);
    layout->addWidget(AlwaysAccept);
    const auto ask = [this](QPushButton *button, TransferAction action) {
        connect(button, &QPushButton::clicked, this, [this, action] { emit asked(action, transferId); });
    };
    ask(Accept, TransferAction::Accept);
    ask(SaveAs, TransferAction::SaveAs);
    ask(Decline, TransferAction::Decline);
    ask(Cancel, TransferAction::Cancel);
    ask(Open, TransferAction::Open);
    ask(ShowInFolder, TransferAction::ShowInFolder);
    connect(PauseOrResume, &QPushButton::clicked, this,
            [this] { emit asked(paused ? TransferAction::Resume : TransferAction::Pause, transferId); });
    connect(AlwaysAccept, &QCheckBox::toggled, this, &TransferCard::alwaysAcceptChanged);
}

void TransferCard::show(const FileTransfers::Item &item, bool keyKnown)
{
    using Stage = TransferRecord::State;
    const QString what = TransferText::files(item.files) + QStringLiteral(", ") + TransferText::size(item.total);
    Title->setText(item.sending ? tr("To %1: %2: %3").arg(item.peerName, what, TransferText::names(item))
                   : keyKnown ? tr("%1 (key known) offers %2: %3").arg(item.peerName, what, TransferText::names(item))
                              : tr("%1 (key new to you) offers %2: %3").arg(item.peerName, what, TransferText::names(item)));
    QStringList details{TransferText::state(item), TransferText::speed(item), TransferText::timeLeft(item)};
    details.removeAll(QString());
    State->setText(details.join(QStringLiteral(" · ")));
    Progress->setValue(TransferText::permille(item));
    Progress->setAccessibleName(tr("Progress of %1").arg(TransferText::names(item)));
    const bool offered = item.state == Stage::Offered && !item.sending;
    const bool going = item.state == Stage::Going || item.state == Stage::Paused;
    const bool arrived = item.state == Stage::Done && !item.sending;
    paused = item.state == Stage::Paused;
    PauseOrResume->setText(paused ? tr("&Resume") : tr("&Pause"));
    Progress->setVisible(going || item.state == Stage::Done);
    const QList<QWidget *> offerChoices{Accept, SaveAs, Decline, AlwaysAccept};
    for (QWidget *offerChoice : offerChoices)
        offerChoice->setVisible(offered);
    PauseOrResume->setVisible(going);
    Cancel->setVisible(going || (item.sending && item.state == Stage::Offered));
    Open->setVisible(arrived);
    ShowInFolder->setVisible(arrived || (item.sending && item.state == Stage::Done));
}
