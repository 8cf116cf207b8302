#pragma once

#include <QString>
#include <QStringList>

#include <expected>
#include <optional>

// What the dialler tool was asked to do, read from its command line, after
// an optional leading --folder DIR (or --folder=DIR):
//   (nothing)                     list the active connections
//   ENTRY [USER [PASSWORD]]       dial the entry
//   ENTRY /disconnect             hang up the entry's connection
//   /disconnect                   hang up every connection
//   /list                         list the phonebook entries
//   /help                         show how to use it
struct DialArguments {
    enum class Action { ListConnections, ListEntries, Dial, Disconnect, Help };

    Action action = Action::ListConnections;
    QString entry; // Dial; Disconnect (empty: every connection)
    std::optional<QString> userName; // Dial: the stored ones when absent
    std::optional<QString> password;
    std::optional<QString> folder; // the data folder to work on instead of the program's

    // What is wrong with the arguments when they ask for nothing sensible.
    [[nodiscard]] static std::expected<DialArguments, QString> parse(const QStringList &arguments);

    static QString usage();
};
