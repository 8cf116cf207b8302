#include "platform/sound/WaveSoundPlayer.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

WaveSoundPlayer::WaveSoundPlayer(QObject *parent)
    : QObject(parent)
{
}

void WaveSoundPlayer::play(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    if (!m_effect)
        m_effect = new QSoundEffect(this);
    const QUrl source = QUrl::fromLocalFile(path);
    if (m_effect->source() != source)
        m_effect->setSource(source);
    m_effect->play();
}
