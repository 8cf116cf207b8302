#pragma once

#include "platform/windows/ConnectionHandles.h"

#include "core/services/DialUpService.h"

#include <functional>
#include <map>
#include <memory>

// The dial-up service over the Windows Remote Access Service, default
// phonebook only. Use it on the user-interface thread; dial progress comes
// back there through the post function given at construction, which must be
// callable from any thread.
class RasDialUpService final : public dialup::DialUpService {
public:
    explicit RasDialUpService(std::function<void(std::function<void()>)> postToUiThread);
    ~RasDialUpService() override;
    RasDialUpService(const RasDialUpService &) = delete;
    RasDialUpService &operator=(const RasDialUpService &) = delete;

    std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> enumConnections() override;
    std::expected<dialup::ConnectionStatus, dialup::ErrorCode> connectionStatus(
        dialup::ConnectionHandle handle) override;
    std::expected<std::vector<std::string>, dialup::ErrorCode> enumEntries() override;
    std::expected<dialup::DialParams, dialup::ErrorCode> entryDialParams(const std::string &entry) override;
    std::expected<dialup::ConnectionHandle, dialup::ErrorCode> dial(const std::string &entry,
        const std::string &userName, const std::string &password, dialup::DialNotifier notifier) override;
    std::expected<void, dialup::ErrorCode> hangUp(dialup::ConnectionHandle handle) override;
    // The connection's own statistics: 32-bit counts since it connected.
    std::expected<dialup::ByteCounters, dialup::ErrorCode> connectionBytes(dialup::ConnectionHandle handle) override;
    std::string errorText(dialup::ErrorCode code) override;
    std::expected<void, dialup::ErrorCode> createEntry(dialup::NativeWindow owner) override;
    std::expected<void, dialup::ErrorCode> editEntry(dialup::NativeWindow owner, const std::string &entry) override;

private:
    std::function<void(std::function<void()>)> m_postToUiThread;
    // Expires with this object, so that progress already posted is dropped.
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
    ConnectionHandles m_handles;
    // The dial behind each connection this object dialled, by connection.
    std::map<dialup::ConnectionHandle, std::uintptr_t> m_dialSessions;
};
