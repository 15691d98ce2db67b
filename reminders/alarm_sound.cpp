#include "reminders/alarm_sound.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QTimer>

#include "reminders/logic/sound_list.h"
#include "storage/settings_reminders.h"
#include "ui/cp_text.h"

namespace zt {

AlarmSound::AlarmSound(QObject* parent) : QObject(parent) {}

AlarmSound::~AlarmSound() {
    stop();
}

QUrl AlarmSound::builtin_url(int index) {
    return QUrl(QStringLiteral("qrc:/sounds/WAV%1.wav").arg(index));
}

QString AlarmSound::file_filter() {
    return QStringLiteral("Все форматы (*.wav *.mp3 *.wma *.mid *.rmi)");
}

void AlarmSound::play(const AlarmSoundSettings& sound) {
    if (is_builtin_sound(sound.name))
        play_builtin(sound.name);
    else if (sound.name == 0 && !sound.file.empty())
        play_file(from_cp(sound.file));
}

void AlarmSound::play_builtin(int index) {
    if (!m_effect) m_effect = new QSoundEffect(this);
    const QUrl url = builtin_url(index);
    m_effect->stop();
    if (m_effect->source() != url) m_effect->setSource(url);
    m_last_source = url;
    // Plays as soon as the wave is loaded; without a sound device it stays silent.
    m_effect->play();
}

void AlarmSound::play_file(const QString& path) {
    // The back end would only report a missing file later and asynchronously; such a file
    // plays nothing, so it is not handed on at all.
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) return;
    const QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    m_last_source = url;
    // The media back end may take a while to set up and to open a file (hundreds of
    // milliseconds on a busy machine): the file is opened from the event loop, after the
    // caller (the reminder scan) has finished.
    QTimer::singleShot(0, this, [this, url] {
        if (m_last_source != url) return;  // replaced or stopped meanwhile
        if (!m_player) {
            m_player = new QMediaPlayer(this);
            m_output = new QAudioOutput(this);
            m_player->setAudioOutput(m_output);
        }
        m_player->stop();
        m_player->setSource(url);
        // A file the back end cannot decode ends in an error state without a sound.
        m_player->play();
    });
}

void AlarmSound::stop() {
    m_last_source.clear();
    if (m_effect) m_effect->stop();
    if (m_player && m_player->playbackState() != QMediaPlayer::StoppedState) m_player->stop();
}

}  // namespace zt
