#include "PersonChooser.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kChoiceRole = Qt::UserRole;

} // namespace

PersonChooser::PersonChooser(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Private message"));
    Typed = new QLineEdit;
    Typed->setPlaceholderText(tr("Type a name"));
    People = new QListWidget;
    People->setWordWrap(true); // the reason under a greyed name is read whole
    Reason = new QLabel;
    Reason->setWordWrap(true);
    Reason->setTextFormat(Qt::PlainText);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Typed);
    layout->addWidget(People, 1);
    layout->addWidget(Reason);
    layout->addWidget(buttons);
    connect(Typed, &QLineEdit::textChanged, this, &PersonChooser::filter);
    connect(Typed, &QLineEdit::returnPressed, this, &PersonChooser::choose);
    connect(People, &QListWidget::currentRowChanged, this, &PersonChooser::showReason);
    connect(People, &QListWidget::itemActivated, this, &PersonChooser::choose);
    connect(buttons, &QDialogButtonBox::accepted, this, &PersonChooser::choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(320, 300);
}

void PersonChooser::present(const QList<Choice> &choices)
{
    setChoices(choices);
    show();
    raise();
    activateWindow();
    Typed->setFocus();
}

void PersonChooser::setChoices(const QList<Choice> &choices)
{
    all = choices;
    People->clear();
    for (qsizetype index = 0; index < all.size(); ++index) {
        const Choice &choice = all[index];
        auto *item = new QListWidgetItem(choice.name, People);
        item->setData(kChoiceRole, int(index));
        if (!choice.whyNot.isEmpty()) {
            // Greyed, never picked, and with the reason in sight.
            item->setText(choice.name + QLatin1Char('\n') + choice.whyNot);
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
            item->setToolTip(choice.whyNot);
        }
    }
    Typed->clear();
    filter();
}

void PersonChooser::filter()
{
    const QString typed = Typed->text().trimmed();
    QListWidgetItem *first = nullptr;
    QListWidgetItem *firstStarting = nullptr;
    for (int row = 0; row < People->count(); ++row) {
        QListWidgetItem *item = People->item(row);
        const bool matches = item->text().contains(typed, Qt::CaseInsensitive);
        item->setHidden(!matches);
        if (!matches || !(item->flags() & Qt::ItemIsEnabled))
            continue;
        if (!first)
            first = item;
        if (!firstStarting && item->text().startsWith(typed, Qt::CaseInsensitive))
            firstStarting = item;
    }
    People->setCurrentItem(firstStarting ? firstStarting : first);
    showReason();
}

void PersonChooser::showReason()
{
    // The reason of the first greyed one in sight, when nobody can be picked.
    QString reason;
    for (int row = 0; row < People->count() && reason.isEmpty(); ++row)
        if (!People->item(row)->isHidden() && !People->currentItem())
            reason = People->item(row)->toolTip();
    if (People->count() == 0)
        reason = tr("Nobody else is in the chat.");
    Reason->setText(reason);
    Reason->setVisible(!reason.isEmpty());
}

void PersonChooser::choose()
{
    const QListWidgetItem *item = People->currentItem();
    if (!item || item->isHidden() || !(item->flags() & Qt::ItemIsEnabled))
        return;
    const Choice &choice = all.at(item->data(kChoiceRole).toInt());
    chosen = choice.key;
    accept();
    emit personChosen(choice.key, choice.name);
}
