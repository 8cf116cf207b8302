#include "platform/simdialup/ProcessProbe.h"

#include <cerrno>
#include <limits>

#include <signal.h>

bool processIsRunning(qint64 pid)
{
    // kill() with 0 or a negative id would address whole process groups.
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}
