#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

// One program per data folder. The first start holds a lock file in the
// folder and listens on a local socket named after it; a later start asks
// that one to come to the front instead of running beside it. A lock left
// by a program that died is taken over.
class FolderInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderInstance)

public:
    enum class Claim {
        Ours, // the folder is ours until this object goes
        Shown, // the program already using the folder was asked to the front
        InUse, // another program holds the folder and does not answer
    };

    explicit FolderInstance(const QString &folder, QObject *parent = nullptr);
    ~FolderInstance() override;

    [[nodiscard]] Claim claim();

    static inline const QString kLockFile = QStringLiteral("tollwise.lock");

signals:
    // A later start asked for this program.
    void showRequested();

private:
    bool askHolderToShow() const;
    void listen();

    QString m_folder;
    QString m_socketName;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};
