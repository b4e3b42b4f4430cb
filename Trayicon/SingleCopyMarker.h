#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// A name that only one running copy of the program can hold: the first copy
// listens on a local socket of that name; a later copy finds it there, tells it
// so and learns that it is not the first.
class SingleCopyMarker final : public QObject {
    Q_OBJECT
public:
    explicit SingleCopyMarker(QObject *parent = nullptr);
    ~SingleCopyMarker() override;

    // Takes the name; false (after telling the copy that holds it) when
    // another running copy holds it already.
    bool Claim(const QString &name);

signals:
    // A later copy with the same name has started.
    void anotherCopyStarted();

private:
    bool TellRunningCopy(const QString &name);
    void AnswerNewcomer();

    QLocalServer *server = nullptr;
};
