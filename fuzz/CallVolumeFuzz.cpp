// Any bytes as a call volume file: reading never crashes, and what was read
// is read back the same after the program writes it.
#include "core/store/CallVolumeFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto read = callvolumefile::parse(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!read)
        return 0;
    const QByteArray written = callvolumefile::serialise(read->data(), qsizetype(read->size()));
    const auto again = callvolumefile::parse(written);
    if (!again || *again != *read)
        std::abort();
    return 0;
}
