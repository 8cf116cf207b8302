#include "core/skins/SkinError.h"

QString skinErrorText(SkinError error)
{
    switch (error) {
    case SkinError::None:
        return {};
    case SkinError::FormatUnrecognized:
        return QStringLiteral("DIB File Format Unrecognized !");
    case SkinError::UnsupportedResolution:
        return QStringLiteral("Unsupported WindowsDIB Resolution");
    case SkinError::LzhInputStream:
        return QStringLiteral("LZH (de)compression : Failed to initialize input stream !");
    case SkinError::LzhOutputStream:
        return QStringLiteral("LZH (de)compression : Failed to initialize output stream !");
    case SkinError::PixelDataStart:
        return QStringLiteral("Internal Error During CompressedDIB Loading Process !");
    case SkinError::PixelDataEnd:
        return QStringLiteral("Abnormal CompressedDIB Loading Terminaison !");
    case SkinError::AlphaStart:
        return QStringLiteral("Internal Error During AlphaStructure Loading Process !");
    case SkinError::AlphaEnd:
        return QStringLiteral("Abnormal AlphaStructure Ending !");
    }
    return {};
}
