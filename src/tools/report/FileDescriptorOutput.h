#pragma once

#include <QIODevice>

// Writes straight to a file descriptor, retrying short writes, so that a
// failure is seen at the write that meets it and carries the system's
// reason ("No space left on device"); a file opened on the descriptor
// reports a short write with no reason at all.
class FileDescriptorOutput final : public QIODevice {
public:
    explicit FileDescriptorOutput(int descriptor);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    int m_descriptor;
};
