#pragma once

#include <QByteArray>

// The default skin's animation and the program's two sounds.
namespace SkinMedia {
// "connecting.gif": 80 x 80, a ring of dots chasing round a handset.
[[nodiscard]] QByteArray connectingAnimation();
// "connected.wav": a rising two-note chime.
[[nodiscard]] QByteArray connectedSound();
// "welcome.wav": a short rising arpeggio.
[[nodiscard]] QByteArray welcomeSound();
// Two falling notes: a budget warning.
[[nodiscard]] QByteArray warningSound();
} // namespace SkinMedia
