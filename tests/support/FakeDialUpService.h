#pragma once

#include "core/services/DialUpService.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

// A dial-up service the test scripts by hand: it lists whatever connections
// and entries the test puts in, reports the states the test sets, and can be
// told to fail any operation with an error code.
class FakeDialUpService final : public dialup::DialUpService {
public:
    struct Connection {
        dialup::ActiveConnection connection;
        dialup::ConnectionStatus status;
    };

    std::vector<Connection> connections;
    std::vector<std::string> entries;
    std::map<std::string, dialup::DialParams> storedParams;
    // Each listed line's byte counters as the test sets them, when `counters` is unset.
    std::map<dialup::ConnectionHandle, dialup::ByteCounters> bytes;
    // The byte counters of a listed connection; unset: the service keeps none.
    std::function<dialup::ByteCounters(dialup::ConnectionHandle)> counters;

    std::optional<dialup::ErrorCode> failEnumConnections;
    std::optional<dialup::ErrorCode> failStatus;
    std::optional<dialup::ErrorCode> failEnumEntries;
    std::optional<dialup::ErrorCode> failDialParams;
    std::optional<dialup::ErrorCode> failDial;
    std::optional<dialup::ErrorCode> failHangUp;
    std::optional<dialup::ErrorCode> failCreateEntry;
    std::optional<dialup::ErrorCode> failEditEntry;

    // What the program asked for.
    struct DialRequest {
        std::string entry, userName, password;
    };
    std::vector<DialRequest> dials;
    std::vector<dialup::ConnectionHandle> hangUps;
    std::vector<std::string> editedEntries;
    int createdEntries = 0;
    dialup::DialNotifier notifier; // of the last dial: call it to report progress

    // Adds a connection in the given state; returns its handle.
    dialup::ConnectionHandle connect(
        const std::string &entry, std::uint32_t state = dialup::kConnected, dialup::ErrorCode error = 0)
    {
        const dialup::ConnectionHandle handle = m_nextHandle++;
        connections.push_back({ { handle, entry }, { state, error } });
        return handle;
    }

    void setState(dialup::ConnectionHandle handle, std::uint32_t state, dialup::ErrorCode error = 0)
    {
        for (Connection &c : connections) {
            if (c.connection.handle == handle)
                c.status = { state, error };
        }
    }

    std::expected<dialup::ByteCounters, dialup::ErrorCode> connectionBytes(dialup::ConnectionHandle handle) override
    {
        const bool listed = std::any_of(connections.begin(), connections.end(),
            [handle](const Connection &c) { return c.connection.handle == handle; });
        if (!listed)
            return std::unexpected(dialup::kErrorNoCounters);
        if (counters)
            return counters(handle);
        const auto found = bytes.find(handle);
        if (found == bytes.end())
            return std::unexpected(dialup::kErrorNoCounters);
        return found->second;
    }

    void drop(dialup::ConnectionHandle handle)
    {
        std::erase_if(connections, [handle](const Connection &c) { return c.connection.handle == handle; });
    }

    std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> enumConnections() override
    {
        if (failEnumConnections)
            return std::unexpected(*failEnumConnections);
        std::vector<dialup::ActiveConnection> list;
        for (const Connection &c : connections)
            list.push_back(c.connection);
        return list;
    }

    std::expected<dialup::ConnectionStatus, dialup::ErrorCode> connectionStatus(
        dialup::ConnectionHandle handle) override
    {
        if (failStatus)
            return std::unexpected(*failStatus);
        for (const Connection &c : connections) {
            if (c.connection.handle == handle)
                return c.status;
        }
        return std::unexpected(dialup::ErrorCode(6)); // no such handle
    }

    std::expected<std::vector<std::string>, dialup::ErrorCode> enumEntries() override
    {
        if (failEnumEntries)
            return std::unexpected(*failEnumEntries);
        return entries;
    }

    std::expected<dialup::DialParams, dialup::ErrorCode> entryDialParams(const std::string &entry) override
    {
        if (failDialParams)
            return std::unexpected(*failDialParams);
        const auto found = storedParams.find(entry);
        return found == storedParams.end() ? dialup::DialParams {} : found->second;
    }

    std::expected<dialup::ConnectionHandle, dialup::ErrorCode> dial(const std::string &entry,
        const std::string &userName, const std::string &password, dialup::DialNotifier progress) override
    {
        dials.push_back({ entry, userName, password });
        if (failDial)
            return std::unexpected(*failDial);
        notifier = std::move(progress);
        return connect(entry, dialup::kOpenPort);
    }

    std::expected<void, dialup::ErrorCode> hangUp(dialup::ConnectionHandle handle) override
    {
        hangUps.push_back(handle);
        if (failHangUp)
            return std::unexpected(*failHangUp);
        drop(handle);
        return {};
    }

    std::string errorText(dialup::ErrorCode code) override { return "Fake error " + std::to_string(code); }

    std::expected<void, dialup::ErrorCode> createEntry(dialup::NativeWindow) override
    {
        if (failCreateEntry)
            return std::unexpected(*failCreateEntry);
        ++createdEntries;
        return {};
    }

    std::expected<void, dialup::ErrorCode> editEntry(dialup::NativeWindow, const std::string &entry) override
    {
        editedEntries.push_back(entry);
        if (failEditEntry)
            return std::unexpected(*failEditEntry);
        return {};
    }

private:
    dialup::ConnectionHandle m_nextHandle = 1;
};
