#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;

namespace zt {

struct AlarmSoundSettings;

// The sound of a reminder. Built-in sounds (1..49) are compiled-in wave files played with
// QSoundEffect; "Из файла" (0) plays the chosen file with a media player made on first use and
// kept for the whole run. Playing never waits: a missing, unreadable or unplayable file, an
// empty path and a machine without a sound device all stay silent and return at once.
class AlarmSound final : public QObject {
    Q_OBJECT
public:
    explicit AlarmSound(QObject* parent = nullptr);
    ~AlarmSound() override;

    // AlarmSoundPlay: a new sound replaces one that is playing.
    void play(const AlarmSoundSettings& sound);
    // AlarmSoundStop: stops whatever of the two players sounds, so a sound started before the
    // choice was changed can still be stopped.
    void stop();

    // The resource of built-in sound `index` (1..49), as "WAV1" .. "WAV49" of the list.
    static QUrl builtin_url(int index);
    // The file types the sound file chooser offers.
    static QString file_filter();

    // The source last handed to a player; empty when nothing was played or after stop().
    QUrl last_source() const { return m_last_source; }

private:
    void play_builtin(int index);
    void play_file(const QString& path);

    QSoundEffect* m_effect = nullptr;
    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    QUrl m_last_source;
};

}  // namespace zt
