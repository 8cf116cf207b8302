#pragma once

#include <QString>

// Why a skin file could not be read. Each code has one fixed text that the
// user sees (skinErrorText).
enum class SkinError {
    None,
    FormatUnrecognized, // neither a Windows bitmap nor a compressed bitmap, or a header out of range
    UnsupportedResolution, // a Windows bitmap of a bit depth we do not read
    LzhInputStream, // the compressed stream is missing or too short for what it claims
    LzhOutputStream, // the compressed stream claims more data than the image can hold
    PixelDataStart, // the marker before the pixel data is missing
    PixelDataEnd, // the pixel data or the marker after it is cut short or wrong
    AlphaStart, // the alpha block does not begin with its marker
    AlphaEnd, // the alpha block is cut short or does not end with its marker
};

[[nodiscard]] QString skinErrorText(SkinError error);
