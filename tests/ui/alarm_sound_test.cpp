#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>

#include "reminder_outputs_fixture.h"
#include "reminders/logic/sound_list.h"
#include "ui_helpers.h"

namespace zt {
namespace {

using SoundTest = test::ReminderOutputsFixture;

// A missing file, an empty path and a file no back end can decode play nothing and never
// hold the caller (the reminder scan) up; the machine has no sound device either.
TEST_F(SoundTest, MissingOrUnplayableFileIsSilentAndReturnsAtOnce) {
    const QString junk = dir.filePath("junk.mp3");
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, '\x5a'));
    }
    struct Case {
        const char* name;
        std::string file;
        bool handed_on;
    };
    const Case cases[] = {{"missing", dir.filePath("gone.wav").toStdString(), false},
                          {"empty path", "", false},
                          {"a folder", dir.path().toStdString(), false},
                          {"undecodable", junk.toStdString(), true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmSound player;
        AlarmSoundSettings s;
        s.file = c.file;
        QElapsedTimer clock;
        clock.start();
        player.play(s);
        // Generous: only a player that waits for the file would take this long.
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_EQ(!player.last_source().isEmpty(), c.handed_on);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        player.stop();
    }
}

TEST_F(SoundTest, BuiltInSoundsAreShortNormalisedMonoWaves) {
    for (int i = 1; i <= kBuiltinSoundCount; ++i) {
        SCOPED_TRACE(i);
        QFile f(AlarmSound::builtin_url(i).toString().mid(3));  // "qrc:/x" -> ":/x"
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName();
        const QByteArray wav = f.readAll();
        ASSERT_GE(wav.size(), 44);
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(u16(20), 1);   // PCM
        EXPECT_EQ(u16(22), 1);   // mono
        EXPECT_EQ(u16(34), 16);  // bits
        const quint32 rate = u32(24), bytes = u32(40);
        ASSERT_EQ(quint32(wav.size()), 44 + bytes);
        const double seconds = double(bytes) / 2 / rate;
        EXPECT_GE(seconds, 0.5);
        EXPECT_LE(seconds, 3.0);
        int peak = 0;
        for (quint32 at = 44; at + 1 < quint32(wav.size()); at += 2)
            peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(wav.constData() + at))));
        EXPECT_NEAR(peak, 29163, 40);  // -1 dBFS
    }
    EXPECT_EQ(sound_caption(0), "Из файла");
    EXPECT_EQ(sound_caption(1), "Животные 1");
    EXPECT_EQ(sound_caption(49), "Шумы 7");
    EXPECT_EQ(sound_caption(50), "");
}

TEST_F(SoundTest, BuiltInSoundReplacesThePlayingOneWithoutWaiting) {
    AlarmSoundSettings s;
    s.name = 5;
    QElapsedTimer clock;
    clock.start();
    sound.play(s);
    s.name = 49;
    sound.play(s);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(sound.last_source(), QUrl(QStringLiteral("qrc:/sounds/WAV49.wav")));
    sound.stop();
}

}  // namespace
}  // namespace zt
