#pragma once

#include "TransferCard.h"

#include <QWidget>

class FileTransfers;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Every transfer of this run and those that go on from before: a line
// each, with its person, its size, its progress, speed and time left, and
// where it stands; the buttons act on the line chosen.
class TransfersWindow : public QWidget {
    Q_OBJECT
public:
    explicit TransfersWindow(const FileTransfers &transfers, QWidget *parent = nullptr);

    QTreeWidget *List = nullptr;
    QPushButton *PauseOrResume = nullptr;
    QPushButton *Cancel = nullptr;
    QPushButton *Open = nullptr;
    QPushButton *ShowInFolder = nullptr;

    void refresh(const QString &id);
    QString chosenId() const;
    void bringForward();

signals:
    void asked(TransferAction action, const QString &id);

private:
    enum Column { Files, Person, Size, Progress, Speed, TimeLeft, Where, Columns };
    QTreeWidgetItem *lineOf(const QString &id);
    void enableButtons();

    const FileTransfers &transfers;
};
