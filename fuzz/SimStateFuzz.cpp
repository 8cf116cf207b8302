// Any bytes as the simulator's dialup.state, which every program in the
// folder may write: reading keeps only sound connections, and what it keeps
// survives being written and read again.
#include "platform/simdialup/SimStateFile.h"

#include <cstdint>
#include <cstdlib>
#include <set>

namespace {

bool same(const SimConnection &a, const SimConnection &b)
{
    return a.handle == b.handle && a.entryName == b.entryName && a.ownerPid == b.ownerPid
        && a.dialStartMs == b.dialStartMs && a.stageMs == b.stageMs && a.failState == b.failState
        && a.failError == b.failError && a.dropAfterMs == b.dropAfterMs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto state = SimStateFile::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (state.nextHandle == 0 || int(state.connections.size()) > SimStateFile::kMaxConnections)
        std::abort();
    std::set<dialup::ConnectionHandle> handles;
    for (const SimConnection &c : state.connections) {
        if (c.handle == 0 || !handles.insert(c.handle).second || !SimEntry::nameProblem(c.entryName).isEmpty())
            std::abort();
        // Whatever the file says, the course of the call is computed without overflow.
        (void)c.at(c.dialStartMs + c.stageMs * 8 + c.dropAfterMs + SimConnection::kDisconnectedMilliseconds);
        (void)c.reportsUntil(c.dialStartMs + c.stageMs * 8);
    }

    const auto again = SimStateFile::parse(SimStateFile::serialise(state));
    if (again.nextHandle != state.nextHandle || again.connections.size() != state.connections.size())
        std::abort();
    for (std::size_t i = 0; i < state.connections.size(); ++i) {
        if (!same(again.connections[i], state.connections[i]))
            std::abort();
    }
    return 0;
}
