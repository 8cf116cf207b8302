#pragma once

#include "core/services/DialUpService.h"
#include "platform/simdialup/SimConnection.h"

#include <QString>

#include <expected>
#include <functional>
#include <vector>

// The simulator's connections, shared by every process that uses the same
// program folder through "dialup.state" there. The file is replaced whole on
// every change and read as untrusted input: a damaged file or record is
// dropped, never followed.
class SimStateFile {
public:
    static constexpr qint64 kMaxFileBytes = 256 * 1024;
    static constexpr int kMaxConnections = 1000;

    struct State {
        dialup::ConnectionHandle nextHandle = 1;
        std::vector<SimConnection> connections; // in the order they were dialled
        // The machine's start the connections' monotonic times count from;
        // empty in a file that does not say.
        QByteArray boot;
    };

    explicit SimStateFile(const QString &programFolder);

    QString filePath() const { return m_path; }

    // A missing or damaged file reads as no connections, and so does a file
    // written before the machine restarted: every line dropped with it.
    [[nodiscard]] std::expected<State, dialup::ErrorCode> read() const;
    // Reads the state under the folder's lock, lets `change` edit it and
    // writes it back when `change` returns true.
    [[nodiscard]] std::expected<void, dialup::ErrorCode> update(const std::function<bool(State &)> &change) const;

    static State parse(const QByteArray &bytes);
    static QByteArray serialise(const State &state);
    // This machine's start, as the file records it.
    static QByteArray currentBoot();

private:
    QString m_folder;
    QString m_path;
};
