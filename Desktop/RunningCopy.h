#pragma once

#include <QDBusConnection>
#include <QObject>

// One copy of the program per user and program folder, as desktop programs
// have it: the first start claims a name on the session bus, beneath the
// application id; a later start hands that copy its setup file (or none),
// the copy comes forward, and the later start ends. Copies in other program
// folders have names of their own and stay independent.
class RunningCopy : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "vanu.Copy")
public:
    RunningCopy(const QDBusConnection &bus, const QString &applicationId, const QString &programFolder,
                QObject *parent = nullptr);

    // True when this start goes on: it is the first copy, or no running copy
    // answers (or there is no session bus). False once a running copy has
    // taken the setup file: this start ends.
    bool Claim(const QString &setupFile);
    // The same for files to send: a running copy takes them and asks to whom.
    bool ClaimToSend(const QStringList &paths);

    // The bus name of the copies of this program folder.
    static QString ServiceName(const QString &applicationId, const QString &programFolder);

public slots:
    // Called by a later start. Answered at once; the copy acts after.
    Q_SCRIPTABLE void Activate(const QString &setupFile);
    Q_SCRIPTABLE void SendFiles(const QStringList &paths);

signals:
    // A later start asked this copy to come forward, with its setup file.
    void activated(const QString &setupFile);
    // A later start gave files to send.
    void sendRequested(const QStringList &paths);

private:
    bool claimName();
    // Hands the call to the running copy; false once it has answered.
    bool handOver(QDBusMessage call);

    QDBusConnection bus;
    QString name;
};
