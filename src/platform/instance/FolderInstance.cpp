#include "platform/instance/FolderInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kAnswerMs = 3000;
const QByteArray kShow = "show\n";
const QByteArray kShown = "shown\n";

// The same folder reached by another path is the same folder.
QString socketNameFor(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir(folder).absolutePath() : canonical).toUtf8();
    return QStringLiteral("tollwise-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

} // namespace

FolderInstance::FolderInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_socketName(socketNameFor(folder))
    , m_lock(QDir(folder).filePath(kLockFile))
{
    // Only a holder that is no longer running loses the lock, however long it has held it.
    m_lock.setStaleLockTime(0);
}

FolderInstance::~FolderInstance()
{
    if (m_server)
        m_server->close();
}

FolderInstance::Claim FolderInstance::claim()
{
    if (m_lock.tryLock(0)) {
        listen();
        return Claim::Ours;
    }
    // A folder where no lock can be made (read only, say) is no one's: the
    // program runs and its saves say what fails.
    if (m_lock.error() != QLockFile::LockFailedError)
        return Claim::Ours;
    if (askHolderToShow())
        return Claim::Shown;
    // A lock file that names no process (cut short by a crash) holds nothing.
    qint64 pid = 0;
    QString host;
    QString application;
    if (!m_lock.getLockInfo(&pid, &host, &application) && m_lock.removeStaleLockFile() && m_lock.tryLock(0)) {
        listen();
        return Claim::Ours;
    }
    return Claim::InUse;
}

bool FolderInstance::askHolderToShow() const
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write(kShow);
    if (!socket.waitForBytesWritten(kAnswerMs))
        return false;
    QByteArray answer;
    while (answer.size() < kShown.size() && socket.waitForReadyRead(kAnswerMs))
        answer += socket.readAll();
    return answer.startsWith(kShown);
}

void FolderInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket left behind is from a program that died.
    QLocalServer::removeServer(m_socketName);
    if (!m_server->listen(m_socketName))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->readAll().contains('\n'))
                    return;
                socket->write(kShown);
                socket->flush();
                emit showRequested();
            });
        }
    });
}
