#include "platform/simdialup/SimLock.h"

#include <QDir>

namespace {

constexpr int kWaitMilliseconds = 3000;
// A holder never keeps the lock for more than one file write; a lock this old
// was left by a process that died.
constexpr int kStaleMilliseconds = 10000;

} // namespace

SimLock::SimLock(const QString &programFolder)
    : m_file(QDir(programFolder).filePath(QStringLiteral("dialup.lock")))
{
    m_file.setStaleLockTime(kStaleMilliseconds);
}

bool SimLock::acquire() { return m_file.tryLock(kWaitMilliseconds); }
