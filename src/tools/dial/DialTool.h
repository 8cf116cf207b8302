#pragma once

#include "tools/dial/DialArguments.h"

#include "core/services/DialUpService.h"

#include <QTextStream>

// Carries out what the dialler tool was asked for, on any dial-up service,
// writing what it does to `out` and what went wrong to `err`. A password is
// never written anywhere.
class DialTool {
public:
    static constexpr int kNothingToHangUp = 1;
    static constexpr int kBadArguments = 2;
    static constexpr int kDropped = 3; // the line went down before the dial was over
    // The service itself cannot be reached, so nothing can be told about its lines.
    static constexpr int kServiceUnreachable = 4;
    // A hang-up was taken on, but the line was not seen to go down in time.
    static constexpr int kStillUp = 5;
    static constexpr int kHangUpWaitMs = 20000;

    DialTool(dialup::DialUpService &service, QTextStream &out, QTextStream &err);

    // The process's exit status. A dial returns once it is connected or has failed.
    [[nodiscard]] int run(const DialArguments &arguments);

    // An error code as an exit status, which keeps only 8 bits: never 0, so a
    // failure never reads as success.
    static int exitStatusFor(dialup::ErrorCode code);

    void setHangUpWait(int ms) { m_hangUpWaitMs = ms; }

private:
    int listConnections();
    int listEntries();
    int dial(const DialArguments &arguments);
    int disconnect(const QString &entry);
    int fail(dialup::ErrorCode code);
    bool isDown(dialup::ConnectionHandle handle);
    QString stateName(std::uint32_t state);

    dialup::DialUpService &m_service;
    QTextStream &m_out;
    QTextStream &m_err;
    int m_hangUpWaitMs = kHangUpWaitMs;
    static constexpr int kHangUpPollMs = 100;
};
