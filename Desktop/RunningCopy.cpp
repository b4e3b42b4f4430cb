#include "RunningCopy.h"

#include <QCryptographicHash>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kPath = QStringLiteral("/Copy");
const QString kInterface = QStringLiteral("vanu.Copy");
constexpr int kLongestAnswerMs = 3000;

} // namespace

RunningCopy::RunningCopy(const QDBusConnection &bus, const QString &applicationId, const QString &programFolder,
                         QObject *parent)
    : QObject(parent), bus(bus), name(ServiceName(applicationId, programFolder))
{
}

QString RunningCopy::ServiceName(const QString &applicationId, const QString &programFolder)
{
    const QString canonical = QDir(programFolder).canonicalPath();
    const QByteArray folder = (canonical.isEmpty() ? QDir(programFolder).absolutePath() : canonical).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16);
    return applicationId + QStringLiteral(".Folder_") + QString::fromLatin1(digest);
}

bool RunningCopy::claimName()
{
    if (!bus.isConnected() || !bus.interface())
        return true;
    const auto registered = bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                                             QDBusConnectionInterface::DontAllowReplacement);
    if (registered.isValid() && registered.value() == QDBusConnectionInterface::ServiceRegistered) {
        bus.registerObject(kPath, this, QDBusConnection::ExportScriptableSlots);
        return true;
    }
    return false;
}

bool RunningCopy::handOver(QDBusMessage call)
{
    // A copy that does not answer is no copy to hand over to: this start goes on.
    return bus.call(call, QDBus::Block, kLongestAnswerMs).type() != QDBusMessage::ReplyMessage;
}

bool RunningCopy::Claim(const QString &setupFile)
{
    if (claimName())
        return true;
    QDBusMessage call = QDBusMessage::createMethodCall(name, kPath, kInterface, QStringLiteral("Activate"));
    call << (setupFile.isEmpty() ? QString() : QFileInfo(setupFile).absoluteFilePath());
    return handOver(call);
}

bool RunningCopy::ClaimToSend(const QStringList &paths)
{
    if (claimName())
        return true;
    QDBusMessage call = QDBusMessage::createMethodCall(name, kPath, kInterface, QStringLiteral("SendFiles"));
    call << paths;
    return handOver(call);
}

void RunningCopy::SendFiles(const QStringList &paths)
{
    QMetaObject::invokeMethod(this, [this, paths] { emit sendRequested(paths); }, Qt::QueuedConnection);
}

void RunningCopy::Activate(const QString &setupFile)
{
    // After the answer: what the copy does next may wait for its user.
    QMetaObject::invokeMethod(this, [this, setupFile] { emit activated(setupFile); }, Qt::QueuedConnection);
}
