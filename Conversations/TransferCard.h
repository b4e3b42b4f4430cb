#pragma once

#include "FileTransfers.h"

#include <QFrame>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

// What the user can do with a transfer, wherever it shows.
enum class TransferAction { Accept, SaveAs, Decline, Pause, Resume, Cancel, Open, ShowInFolder };

// Texts about transfers, the same in the cards and the Transfers window.
namespace TransferText {
QString size(qint64 bytes);
// "1 file", "3 files"
QString files(int count);
// "film.mkv", "film.mkv and 2 more"
QString names(const FileTransfers::Item &item);
// Where it stands: waiting for an answer, its progress, done or why it failed.
QString state(const FileTransfers::Item &item);
QString speed(const FileTransfers::Item &item);
QString timeLeft(const FileTransfers::Item &item);
// How far it is, in thousandths.
int permille(const FileTransfers::Item &item);
} // namespace TransferText

// An offer or a transfer in the conversation with its person: who offers
// what, and as it goes its progress; the choices that fit where it stands.
class TransferCard : public QFrame {
    Q_OBJECT
public:
    TransferCard(const QString &id, QWidget *parent = nullptr);

    QLabel *Title = nullptr;
    QProgressBar *Progress = nullptr;
    QLabel *State = nullptr;
    QPushButton *Accept = nullptr;
    QPushButton *SaveAs = nullptr;
    QPushButton *Decline = nullptr;
    QCheckBox *AlwaysAccept = nullptr;
    QPushButton *PauseOrResume = nullptr;
    QPushButton *Cancel = nullptr;
    QPushButton *Open = nullptr;
    QPushButton *ShowInFolder = nullptr;

    const QString &id() const { return transferId; }
    // Shows the transfer as it stands; `keyKnown` tells whether its person's key was seen before.
    void show(const FileTransfers::Item &item, bool keyKnown);

signals:
    void asked(TransferAction action, const QString &id);
    void alwaysAcceptChanged(bool always);

private:
    QString transferId;
    bool paused = false;
};
