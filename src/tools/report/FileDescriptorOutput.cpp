#include "tools/report/FileDescriptorOutput.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

FileDescriptorOutput::FileDescriptorOutput(int descriptor)
    : m_descriptor(descriptor)
{
}

qint64 FileDescriptorOutput::readData(char *, qint64) { return -1; }

qint64 FileDescriptorOutput::writeData(const char *data, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        const ssize_t result = ::write(m_descriptor, data + written, std::size_t(size - written));
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0) {
            setErrorString(QString::fromLocal8Bit(std::strerror(result < 0 ? errno : ENOSPC)));
            return -1;
        }
        written += result;
    }
    return written;
}
