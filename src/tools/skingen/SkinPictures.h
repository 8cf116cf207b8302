#pragma once

#include "tools/skingen/SkinArt.h"

// The pictures of the default skin, by window. Each adds its images to the set.
namespace SkinPictures {
void drawMainWindow(SkinArt::SkinSet &skin);
void drawCallLog(SkinArt::SkinSet &skin);
void drawDialogs(SkinArt::SkinSet &skin);
void drawMessageDialogs(SkinArt::SkinSet &skin);

// Every image of the default skin.
[[nodiscard]] SkinArt::SkinSet drawDefaultSkin();
} // namespace SkinPictures
