#include "TransfersWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

TransfersWindow::TransfersWindow(const FileTransfers &transfers, QWidget *parent)
    : QWidget(parent, Qt::Window), transfers(transfers)
{
    setWindowTitle(tr("Transfers"));
    List = new QTreeWidget;
    List->setAccessibleName(tr("Transfers"));
    List->setRootIsDecorated(false);
    List->setColumnCount(Columns);
    List->setHeaderLabels({tr("Files"), tr("With"), tr("Size"), tr("Progress"), tr("Speed"), tr("Time left"), tr("State")});
    List->header()->setStretchLastSection(true);
    PauseOrResume = new QPushButton(tr("&Pause"));
    Cancel = new QPushButton(tr("&Cancel"));
    Open = new QPushButton(tr("&Open"));
    ShowInFolder = new QPushButton(tr("Show in fo&lder"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {PauseOrResume, Cancel, Open, ShowInFolder})
        buttons->addWidget(button);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(List, 1);
    layout->addLayout(buttons);
    const auto ask = [this](QPushButton *button, TransferAction action) {
        connect(button, &QPushButton::clicked, this, [this, action] {
            if (!chosenId().isEmpty())
                emit asked(action, chosenId());
        });
    };
    ask(Cancel, TransferAction::Cancel);
    ask(Open, TransferAction::Open);
    ask(ShowInFolder, TransferAction::ShowInFolder);
    connect(PauseOrResume, &QPushButton::clicked, this, [this] {
        const FileTransfers::Item *item = this->transfers.item(chosenId());
        if (item)
            emit asked(item->state == TransferRecord::State::Paused ? TransferAction::Resume : TransferAction::Pause, item->id);
    });
    connect(List, &QTreeWidget::currentItemChanged, this, &TransfersWindow::enableButtons);
    connect(List, &QTreeWidget::itemActivated, this, [this] {
        const FileTransfers::Item *item = this->transfers.item(chosenId());
        if (item && item->state == TransferRecord::State::Done && !item->sending)
            emit asked(TransferAction::Open, item->id);
    });
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    for (const QString &id : transfers.ids())
        refresh(id);
    resize(760, 280);
    enableButtons();
}

QTreeWidgetItem *TransfersWindow::lineOf(const QString &id)
{
    for (int row = 0; row < List->topLevelItemCount(); ++row)
        if (List->topLevelItem(row)->data(Files, Qt::UserRole).toString() == id)
            return List->topLevelItem(row);
    auto *line = new QTreeWidgetItem;
    line->setData(Files, Qt::UserRole, id);
    List->insertTopLevelItem(0, line); // the newest first
    auto *bar = new QProgressBar;
    bar->setRange(0, 1000);
    List->setItemWidget(line, Progress, bar);
    if (!List->currentItem())
        List->setCurrentItem(line);
    return line;
}

void TransfersWindow::refresh(const QString &id)
{
    const FileTransfers::Item *item = transfers.item(id);
    if (!item)
        return;
    QTreeWidgetItem *line = lineOf(id);
    line->setText(Files, (item->sending ? QStringLiteral("↑ ") : QStringLiteral("↓ ")) + TransferText::names(*item));
    line->setText(Person, item->peerName);
    line->setText(Size, TransferText::size(item->total));
    line->setText(Speed, TransferText::speed(*item));
    line->setText(TimeLeft, TransferText::timeLeft(*item));
    line->setText(Where, TransferText::state(*item));
    line->setToolTip(Where, TransferText::state(*item));
    auto *bar = static_cast<QProgressBar *>(List->itemWidget(line, Progress));
    const int permille = TransferText::permille(*item);
    bar->setValue(permille);
    bar->setFormat(QStringLiteral("%1 %").arg(permille / 10));
    bar->setAccessibleName(tr("Progress of %1").arg(TransferText::names(*item)));
    if (line == List->currentItem())
        enableButtons();
}

QString TransfersWindow::chosenId() const
{
    const QTreeWidgetItem *line = List->currentItem();
    return line ? line->data(Files, Qt::UserRole).toString() : QString();
}

void TransfersWindow::enableButtons()
{
    using State = TransferRecord::State;
    const FileTransfers::Item *item = transfers.item(chosenId());
    const bool going = item && (item->state == State::Going || item->state == State::Paused);
    PauseOrResume->setEnabled(going);
    PauseOrResume->setText(item && item->state == State::Paused ? tr("&Resume") : tr("&Pause"));
    Cancel->setEnabled(item && !item->finished());
    Open->setEnabled(item && item->state == State::Done && !item->sending);
    ShowInFolder->setEnabled(item && item->state == State::Done);
}

void TransfersWindow::bringForward()
{
    show();
    raise();
    activateWindow();
    List->setFocus();
}
