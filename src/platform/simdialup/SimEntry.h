#pragma once

#include "core/services/DialUpService.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

// One entry of the simulated phonebook: what a user would configure for a
// dial-up connection, and how the simulated line behaves when it is dialled.
struct SimEntry {
    static constexpr int kMaxNameLength = 256;
    static constexpr double kMaxStageSeconds = 60;
    static constexpr int kMaxDropAfterSeconds = 10 * 24 * 3600;
    // A gigabyte a second: faster than any line, small enough never to overflow.
    static constexpr qint64 kMaxBytesPerSecond = qint64(1) << 30;

    QString name;
    QString phoneNumber;
    QString userName;
    QString password; // the account's password at the remote end
    bool savePassword = false; // whether dialling programs are given it
    double stageSeconds = 1; // time the dial spends in each state, 0 to 60
    bool answers = true; // false: the remote end never picks up
    std::uint32_t failWithError = 0; // 0, or the error every dial ends with
    int dropAfterSeconds = 0; // 0, or the line drops this long after connecting
    // The traffic of a connected line, steady from the moment it connects.
    qint64 bytesPerSecondIn = 0;
    qint64 bytesPerSecondOut = 0;

    bool operator==(const SimEntry &) const = default;

    // An empty text when the name can be a phonebook entry, otherwise why not.
    static QString nameProblem(const QString &name);
    // Line breaks, tabs and the like: nothing a one-line value may hold.
    static bool hasControlCharacter(const QString &text);
};

// Asks the user for an entry's settings over the window `owner` (0 for none);
// nullopt when the user cancels. `takenNames` are the names a new entry may
// not have.
using SimEntryEditor = std::function<std::optional<SimEntry>(
    dialup::NativeWindow owner, const SimEntry &initial, bool creating, const QStringList &takenNames)>;
