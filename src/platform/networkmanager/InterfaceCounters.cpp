#include "platform/networkmanager/InterfaceCounters.h"

#include <QDir>
#include <QFile>

namespace {

// The kernel's limit on interface names, less the final zero.
constexpr int kMaxInterfaceName = 15;

std::optional<std::uint64_t> readCounter(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const std::uint64_t value = file.read(32).trimmed().toULongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

} // namespace

std::optional<dialup::ByteCounters> readInterfaceCounters(const QString &interfaceName, const QString &netClass)
{
    // The name comes from another process: it must name one folder, nothing more.
    if (interfaceName.isEmpty() || interfaceName.size() > kMaxInterfaceName || interfaceName == QLatin1String(".")
        || interfaceName == QLatin1String("..") || interfaceName.contains(QLatin1Char('/'))
        || interfaceName.contains(QChar(0)))
        return std::nullopt;
    const QDir statistics(QDir(netClass).filePath(interfaceName + QStringLiteral("/statistics")));
    const auto received = readCounter(statistics.filePath(QStringLiteral("rx_bytes")));
    const auto sent = readCounter(statistics.filePath(QStringLiteral("tx_bytes")));
    if (!received || !sent)
        return std::nullopt;
    return dialup::ByteCounters { *received, *sent, false };
}
