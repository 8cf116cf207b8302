#include "platform/simdialup/SimStateFile.h"

#include "core/store/AtomicFile.h"
#include "platform/simdialup/SimErrors.h"
#include "platform/simdialup/SimLock.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

#include <cmath>
#include <limits>
#include <optional>
#include <set>

namespace {

// A JSON number that is a whole number within [min, max].
std::optional<qint64> wholeNumber(const QJsonValue &value, qint64 min, qint64 max)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number != std::floor(number) || number < double(min) || number > double(max))
        return std::nullopt;
    return qint64(number);
}

constexpr qint64 kMaxHandle = std::numeric_limits<dialup::ConnectionHandle>::max();
// Far enough ahead for any clock, small enough to add durations without overflow.
constexpr qint64 kMaxMoment = qint64(1) << 50;

std::optional<SimConnection> readConnection(const QJsonObject &object)
{
    const auto handle = wholeNumber(object.value(QLatin1String("handle")), 1, kMaxHandle);
    const auto owner = wholeNumber(object.value(QLatin1String("owner")), 0, std::numeric_limits<qint32>::max());
    const auto start = wholeNumber(object.value(QLatin1String("dialStart")), 0, kMaxMoment);
    const auto stage = wholeNumber(object.value(QLatin1String("stageMs")), 0, SimConnection::kMaxStageMilliseconds);
    const auto failError = wholeNumber(object.value(QLatin1String("failError")), 0, kMaxHandle);
    const auto failState = wholeNumber(object.value(QLatin1String("failState")), 0, kMaxHandle);
    const auto drop
        = wholeNumber(object.value(QLatin1String("dropAfterMs")), 0, SimConnection::kMaxDropAfterMilliseconds);
    // Absent in files written before lines had traffic.
    const auto rateIn = object.contains(QLatin1String("bytesPerSecondIn"))
        ? wholeNumber(object.value(QLatin1String("bytesPerSecondIn")), 0, SimEntry::kMaxBytesPerSecond)
        : std::optional<qint64>(0);
    const auto rateOut = object.contains(QLatin1String("bytesPerSecondOut"))
        ? wholeNumber(object.value(QLatin1String("bytesPerSecondOut")), 0, SimEntry::kMaxBytesPerSecond)
        : std::optional<qint64>(0);
    const QJsonValue entry = object.value(QLatin1String("entry"));
    if (!handle || !owner || !start || !stage || !failError || !failState || !drop || !rateIn || !rateOut
        || !entry.isString())
        return std::nullopt;
    if (*failError != 0 && *failState != dialup::kConnectDevice && *failState != dialup::kAuthenticate)
        return std::nullopt;
    SimConnection connection;
    connection.handle = dialup::ConnectionHandle(*handle);
    connection.entryName = entry.toString();
    if (!SimEntry::nameProblem(connection.entryName).isEmpty())
        return std::nullopt;
    connection.ownerPid = *owner;
    connection.dialStartMs = *start;
    connection.stageMs = *stage;
    connection.failError = dialup::ErrorCode(*failError);
    connection.failState = *failError != 0 ? std::uint32_t(*failState) : 0;
    connection.dropAfterMs = *drop;
    connection.bytesPerSecondIn = *rateIn;
    connection.bytesPerSecondOut = *rateOut;
    return connection;
}

} // namespace

SimStateFile::SimStateFile(const QString &programFolder)
    : m_folder(programFolder)
    , m_path(QDir(programFolder).filePath(QStringLiteral("dialup.state")))
{
}

SimStateFile::State SimStateFile::parse(const QByteArray &bytes)
{
    State state;
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (!document.isObject())
        return state;
    const QJsonObject root = document.object();
    std::set<dialup::ConnectionHandle> seen;
    const QJsonArray list = root.value(QLatin1String("connections")).toArray();
    for (const auto &item : list) {
        if (int(state.connections.size()) == kMaxConnections)
            break;
        const auto connection = readConnection(item.toObject());
        if (connection && seen.insert(connection->handle).second)
            state.connections.push_back(*connection);
    }
    const auto next = wholeNumber(root.value(QLatin1String("nextHandle")), 1, kMaxHandle);
    state.nextHandle = next ? dialup::ConnectionHandle(*next) : 1;
    state.boot = root.value(QLatin1String("boot")).toString().toLatin1();
    return state;
}

QByteArray SimStateFile::serialise(const State &state)
{
    QJsonArray list;
    for (const SimConnection &c : state.connections) {
        list.append(QJsonObject {
            { QLatin1String("handle"), qint64(c.handle) },
            { QLatin1String("entry"), c.entryName },
            { QLatin1String("owner"), c.ownerPid },
            { QLatin1String("dialStart"), c.dialStartMs },
            { QLatin1String("stageMs"), c.stageMs },
            { QLatin1String("failState"), qint64(c.failState) },
            { QLatin1String("failError"), qint64(c.failError) },
            { QLatin1String("dropAfterMs"), c.dropAfterMs },
            { QLatin1String("bytesPerSecondIn"), c.bytesPerSecondIn },
            { QLatin1String("bytesPerSecondOut"), c.bytesPerSecondOut },
        });
    }
    const QJsonObject root { { QLatin1String("nextHandle"), qint64(state.nextHandle) },
        { QLatin1String("boot"), QString::fromLatin1(currentBoot()) }, { QLatin1String("connections"), list } };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::expected<SimStateFile::State, dialup::ErrorCode> SimStateFile::read() const
{
    QFile file(m_path);
    if (!file.exists())
        return State {};
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(simdialup::kConnectionListFailed);
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes)
        return State {};
    State state = parse(bytes);
    if (!state.boot.isEmpty() && state.boot != currentBoot())
        state.connections.clear();
    return state;
}

QByteArray SimStateFile::currentBoot()
{
    // Never empty, so that a file written here always says.
    const QByteArray boot = QSysInfo::bootUniqueId();
    return boot.isEmpty() ? QByteArrayLiteral("unknown") : boot;
}

std::expected<void, dialup::ErrorCode> SimStateFile::update(const std::function<bool(State &)> &change) const
{
    SimLock lock(m_folder);
    if (!lock.acquire())
        return std::unexpected(simdialup::kConnectionListFailed);
    auto state = read();
    if (!state)
        return std::unexpected(state.error());
    if (!change(*state))
        return {};
    if (!writeFileAtomically(m_path, serialise(*state)))
        return std::unexpected(simdialup::kConnectionListFailed);
    return {};
}
