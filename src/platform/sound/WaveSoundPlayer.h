#pragma once

#include "core/services/SoundPlayer.h"

#include <QObject>

class QSoundEffect;

// Plays wave files through Qt Multimedia. Without a sound device or a file
// nothing is heard and nothing fails.
class WaveSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WaveSoundPlayer)

public:
    explicit WaveSoundPlayer(QObject *parent = nullptr);
    void play(const QString &path) override;

private:
    QSoundEffect *m_effect = nullptr; // created on first use
};
