// Any bytes as an LZHUF stream: decoding stops within the claimed length and
// the limit, and whatever decodes must code back to the same bytes.
#include "core/skins/Lzhuf.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr qsizetype kLimit = 1 << 20;
    const LzhufDecoded decoded = lzhufDecode(QByteArrayView(data, qsizetype(size)), kLimit);
    if (decoded.error != SkinError::None)
        return 0;
    if (decoded.bytes.size() > kLimit)
        std::abort();
    const LzhufDecoded again = lzhufDecode(lzhufEncode(decoded.bytes), kLimit);
    if (again.error != SkinError::None || again.bytes != decoded.bytes)
        std::abort();
    return 0;
}
