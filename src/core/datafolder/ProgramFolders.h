#pragma once

#include <QString>
#include <QStringList>

#include <expected>
#include <functional>

// Where the program and its tools keep their files and find their skins,
// sounds and help.
struct ProgramFolders {
    QString programPath; // the executable, as registered for start-up
    QString dataFolder; // every file the program writes lives here
    // Read-only skins, sounds and help, looked for after dataFolder, in order.
    QStringList sharedFolders;
    bool installed = false; // false: everything beside the executable

    // Everything beside the executable at `programPath`.
    static ProgramFolders beside(const QString &programPath);

    // The path of `relativePath` in the first of dataFolder and sharedFolders
    // that holds it; in dataFolder when none does.
    [[nodiscard]] QString find(const QString &relativePath) const;
    // The same, passing over files `usable` refuses (a damaged copy of the
    // user's hides no sound shared one); as find() when it refuses them all.
    [[nodiscard]] QString find(const QString &relativePath, const std::function<bool(const QString &)> &usable) const;
    // dataFolder, then sharedFolders.
    [[nodiscard]] QStringList searchPath() const;
};

// What the choice of folders reads from the environment.
struct FolderEnvironment {
    QString xdgDataHome; // as set; empty or relative means unset
    QString home;

    static FolderEnvironment current();
};

// Decides the folders for the executable at `programPath`. Portable when its
// folder already holds data files, or is writable and neither inside a system
// prefix nor the bin folder of an installation; installed otherwise, with the
// data in $XDG_DATA_HOME/tollwise (~/.local/share/tollwise) and the shared
// files in <prefix>/share/tollwise.
[[nodiscard]] ProgramFolders locateProgramFolders(const QString &programPath, const FolderEnvironment &environment);
[[nodiscard]] ProgramFolders locateProgramFolders(const QString &programPath);

// Folders that belong to the system rather than to a user: /usr, /usr/local,
// /opt and the like, and anything below them.
[[nodiscard]] bool isSystemFolder(const QString &absolutePath);

// Makes the data folder on first start (readable by its owner only, as the
// desktop's data folders are). The error is a sentence for the user.
[[nodiscard]] std::expected<void, QString> makeDataFolder(const ProgramFolders &folders);
