#pragma once

#include <QString>

// Plays a wave file without waiting for it; silent when there is no sound
// device or no such file.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &path) = 0;
};
