#pragma once

#include <QProcess>
#include <QString>

// A private X server (Xvfb) with a fixed screen, so every case sees the same
// desktop and no case's windows overlap another's.
class VirtualDisplay {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    // Starts the server; an empty text on success, otherwise why it failed.
    [[nodiscard]] QString start();
    // ":N", the value for DISPLAY.
    [[nodiscard]] QString name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};
