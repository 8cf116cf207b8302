#pragma once

#include <QLockFile>
#include <QString>

// Serialises the read-modify-write of the simulator's files between all the
// processes that use the same program folder. Readers need no lock: every
// file is replaced whole by a rename.
class SimLock {
public:
    explicit SimLock(const QString &programFolder);

    // False when another process holds the lock for longer than a few seconds.
    [[nodiscard]] bool acquire();

private:
    QLockFile m_file;
};
