#include "tools/skingen/SkinPictures.h"

SkinArt::SkinSet SkinPictures::drawDefaultSkin()
{
    SkinArt::SkinSet skin;
    drawMainWindow(skin);
    drawCallLog(skin);
    drawDialogs(skin);
    drawMessageDialogs(skin);
    return skin;
}
