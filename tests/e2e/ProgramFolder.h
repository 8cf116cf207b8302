#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh installation of the built program: its executables and its skins,
// sounds and help, in a folder of its own, with whatever data files a case
// prepares. Every file the program keeps lives here, or, installed as a
// package installs it (bin/ and share/tollwise/, own copies of the skins and
// sounds), in the data folder under the fresh home the program is given.
class ProgramFolder {
public:
    enum class Layout { Portable, Installed };

    explicit ProgramFolder(Layout layout = Layout::Portable);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    // Empty when the folder is ready, otherwise what went wrong.
    [[nodiscard]] QString error() const { return m_error; }
    // The data folder, and a file in it.
    [[nodiscard]] QString path() const { return m_data; }
    [[nodiscard]] QString filePath(const QString &name) const;
    [[nodiscard]] QString programPath() const;
    // A file of the installed skins, sounds and help.
    [[nodiscard]] QString sharedFilePath(const QString &name) const;
    // A folder that is not the program's, for a current directory and the home.
    [[nodiscard]] QString elsewhere() const { return m_elsewhere.path(); }

    // The system message bus the program and the dialler are given. None by
    // default, so the program falls back to its simulated dial-up service
    // whatever the machine running the tests has.
    void setSystemBus(const QString &address) { m_systemBus = address; }
    [[nodiscard]] QString systemBus() const;

    // Moves the installation onto a file system of its own (a tmpfs, which
    // only root may mount) with `freeBytes` to spare; unmounted when the
    // folder goes. Empty when done, otherwise why it could not be.
    [[nodiscard]] QString moveToSmallDisk(qint64 freeBytes);
    // Fills the folder's file system with a file of its own until only
    // `freeBytes` are left; 0 frees what it took.
    [[nodiscard]] bool leaveFree(qint64 freeBytes) const;

    void writeFile(const QString &name, const QByteArray &bytes) const;
    // The file's bytes; empty when it does not exist.
    [[nodiscard]] QByteArray readFile(const QString &name) const;
    [[nodiscard]] bool exists(const QString &name) const;

    // The log count in settings.data; -1 while there is none.
    [[nodiscard]] int loggedCalls() const;
    // Waits for settings.data, the last of a logged call's four saves, to
    // count `calls`.
    [[nodiscard]] bool waitForLoggedCalls(int calls, int ms) const;

    struct DialResult {
        int exitCode = -1;
        QString output;
    };
    // Runs this installation's copy of tollwise-dial, as another program
    // using the dial-up service would.
    [[nodiscard]] DialResult dial(const QStringList &arguments, int ms = 30000) const;

private:
    [[nodiscard]] bool installPrograms(bool copy);

    QTemporaryDir m_folder;
    Layout m_layout;
    QString m_programs; // where the executables are
    QString m_shared; // skins, sounds and help
    QString m_data;
    bool m_mounted = false;
    QTemporaryDir m_elsewhere;
    QString m_error;
    QString m_systemBus;
};
