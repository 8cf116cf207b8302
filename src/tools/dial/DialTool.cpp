#include "tools/dial/DialTool.h"

#include "core/connection/RasStateText.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <map>
#include <vector>

DialTool::DialTool(dialup::DialUpService &service, QTextStream &out, QTextStream &err)
    : m_service(service)
    , m_out(out)
    , m_err(err)
{
}

int DialTool::exitStatusFor(dialup::ErrorCode code)
{
    const int low = int(code & 0xFF);
    return low != 0 ? low : 255;
}

QString DialTool::stateName(std::uint32_t state)
{
    const QString name = RasStateText(state, 0, m_service);
    return name.isEmpty() ? QStringLiteral("State %1").arg(state) : name;
}

int DialTool::fail(dialup::ErrorCode code)
{
    const QString text = QString::fromStdString(m_service.errorText(code));
    if (dialup::isServiceAway(code)) {
        m_err << "The dial-up service cannot be reached: " << text << Qt::endl;
        return kServiceUnreachable;
    }
    m_err << "Error " << code << ": " << text << Qt::endl;
    return exitStatusFor(code);
}

int DialTool::run(const DialArguments &arguments)
{
    switch (arguments.action) {
    case DialArguments::Action::ListConnections:
        return listConnections();
    case DialArguments::Action::ListEntries:
        return listEntries();
    case DialArguments::Action::Dial:
        return dial(arguments);
    case DialArguments::Action::Disconnect:
        return disconnect(arguments.entry);
    case DialArguments::Action::Help:
        m_out << DialArguments::usage() << Qt::flush;
        return 0;
    }
    return kBadArguments;
}

int DialTool::listConnections()
{
    const auto connections = m_service.enumConnections();
    if (!connections)
        return fail(connections.error());
    if (connections->empty())
        m_out << "No active connections." << Qt::endl;
    for (const dialup::ActiveConnection &connection : *connections) {
        m_out << QString::fromStdString(connection.entryName) << ": ";
        const auto status = m_service.connectionStatus(connection.handle);
        if (!status)
            m_out << "ended";
        else if (status->error != 0)
            m_out << "failed, error " << status->error << ": "
                  << QString::fromStdString(m_service.errorText(status->error));
        else
            m_out << stateName(status->state);
        m_out << " (handle " << connection.handle << ")" << Qt::endl;
    }
    return 0;
}

int DialTool::listEntries()
{
    const auto entries = m_service.enumEntries();
    if (!entries)
        return fail(entries.error());
    if (entries->empty())
        m_err << "The phonebook has no entries." << Qt::endl;
    for (const std::string &entry : *entries)
        m_out << QString::fromStdString(entry) << Qt::endl;
    return 0;
}

int DialTool::dial(const DialArguments &arguments)
{
    const std::string entry = arguments.entry.toStdString();
    std::string userName;
    std::string password;
    if (!arguments.userName || !arguments.password) {
        const auto stored = m_service.entryDialParams(entry);
        if (!stored)
            return fail(stored.error());
        userName = stored->userName;
        password = stored->password;
    }
    if (arguments.userName)
        userName = arguments.userName->toStdString();
    if (arguments.password)
        password = arguments.password->toStdString();

    QEventLoop loop;
    dialup::ConnectionHandle handle = 0; // known before the first report arrives
    const auto dialled = m_service.dial(entry, userName, password, [&](std::uint32_t state, dialup::ErrorCode error) {
        if (error != 0) {
            // Nothing may linger after a failed dial: the line is freed at once.
            (void)m_service.hangUp(handle);
            loop.exit(fail(error));
            return;
        }
        m_out << stateName(state) << Qt::endl;
        if (state == dialup::kConnected)
            loop.exit(0);
        else if (state == dialup::kDisconnected)
            loop.exit(kDropped);
    });
    if (!dialled)
        return fail(dialled.error());
    handle = *dialled;
    m_out << "Dialling " << arguments.entry << "..." << Qt::endl;
    return loop.exec();
}

int DialTool::disconnect(const QString &entry)
{
    const auto connections = m_service.enumConnections();
    if (!connections)
        return fail(connections.error());
    // A service may take a hang-up on and refuse it later.
    std::map<dialup::ConnectionHandle, dialup::ErrorCode> refused;
    m_service.setHangUpRefusalHandler(
        [&refused](dialup::ConnectionHandle handle, dialup::ErrorCode error) { refused[handle] = error; });
    int status = 0;
    bool any = false;
    std::vector<std::pair<dialup::ConnectionHandle, QString>> asked;
    for (const dialup::ActiveConnection &connection : *connections) {
        const QString name = QString::fromStdString(connection.entryName);
        if (!entry.isEmpty() && name.compare(entry, Qt::CaseInsensitive) != 0)
            continue;
        any = true;
        if (const auto hungUp = m_service.hangUp(connection.handle); hungUp)
            asked.emplace_back(connection.handle, name);
        else
            status = fail(hungUp.error());
    }
    if (!any) {
        m_service.setHangUpRefusalHandler({});
        if (entry.isEmpty())
            m_err << "There is no active connection to hang up." << Qt::endl;
        else
            m_err << entry << " is not connected." << Qt::endl;
        return kNothingToHangUp;
    }
    // Taking the request on is not the line being down: only the service
    // listing it so is, and that may take a while or never come.
    const QDeadlineTimer deadline(m_hangUpWaitMs);
    while (!asked.empty()) {
        std::erase_if(asked, [&](const std::pair<dialup::ConnectionHandle, QString> &line) {
            if (const auto it = refused.find(line.first); it != refused.end()) {
                status = fail(it->second);
                return true;
            }
            if (!isDown(line.first))
                return false;
            m_out << "Hung up " << line.second << "." << Qt::endl;
            return true;
        });
        if (asked.empty())
            break;
        if (deadline.hasExpired()) {
            const int seconds = (m_hangUpWaitMs + 999) / 1000;
            for (const auto &line : asked)
                m_err << "Asked to hang up " << line.second << ", but it was not seen to go down within " << seconds
                      << (seconds == 1 ? " second." : " seconds.") << Qt::endl;
            status = kStillUp;
            break;
        }
        QEventLoop loop;
        QTimer::singleShot(kHangUpPollMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    m_service.setHangUpRefusalHandler({});
    return status;
}

bool DialTool::isDown(dialup::ConnectionHandle handle)
{
    const auto status = m_service.connectionStatus(handle);
    if (status)
        return status->state == dialup::kDisconnected;
    // A service that is away says nothing about the line; one that no longer knows it has dropped it.
    return !dialup::isServiceAway(status.error());
}
