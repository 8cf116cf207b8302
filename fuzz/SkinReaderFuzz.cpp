// Any bytes as a skin file: the reader must either build an image of the
// size the file claims or report one of its errors, never crash or hang.
#include "core/skins/TCompressedDib.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const DibLoaded loaded = TCompressedDib::fromBytes(QByteArrayView(data, qsizetype(size)));
    const bool failed = loaded.error != SkinError::None;
    if (failed != loaded.dib.image().isNull())
        std::abort();
    if (!failed && (loaded.dib.width() < 1 || loaded.dib.width() > 8192 || loaded.dib.height() > 8192))
        std::abort();
    return 0;
}
