// The pure parts of the outputs: where the reminder window goes and how it appears, and how
// the external program's parameters are split and the program started.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "core/cp1251.h"
#include "reminders/logic/alarm_placement.h"
#include "reminders/logic/program_start.h"

namespace zt::reminders {
namespace {

TEST(AlarmPlacement, NinePlacesInTheWorkArea) {
    const QRect wa(100, 50, 1001, 601);
    const QSize size(200, 101);
    struct Case {
        int pos1, pos2;
        QPoint expected;
    };
    const Case cases[] = {
        {0, 0, {100, 50}},  {1, 0, {100 + 500 - 100, 50}}, {2, 0, {100 + 1001 - 200, 50}},
        {0, 1, {100, 300}}, {2, 2, {901, 50 + 601 - 101}}, {7, 7, {901, 550}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(alarm_window_place(wa, size, c.pos1, c.pos2), c.expected)
            << c.pos1 << "," << c.pos2;
}

TEST(AlarmPlacement, TransparencyAndAnimations) {
    EXPECT_EQ(alarm_alpha(0), 255);
    EXPECT_EQ(alarm_alpha(5), 100);
    EXPECT_EQ(alarm_alpha(9), 180);
    EXPECT_EQ(alarm_alpha(10), 255);

    // "50%": the fade reaches alpha 100 in steps of 6, 17 of them.
    const QRect wa(0, 1080, 1920, 1080);  // a second monitor below the first
    const QSize size(200, 100);
    const QPoint place = alarm_window_place(wa, size, 2, 2);
    AlarmAnimation fade = alarm_animation(1, wa, size, place, 100);
    EXPECT_EQ(fade.kind, AlarmAnimation::Kind::fade);
    EXPECT_EQ(fade.steps, 17);

    // From below: starts at the work area's bottom edge, y = 2160.
    AlarmAnimation up = alarm_animation(3, wa, size, place, 255);
    EXPECT_EQ(up.kind, AlarmAnimation::Kind::move);
    EXPECT_EQ(up.from, QPoint(1720, 2160));
    EXPECT_EQ(up.to, QPoint(1720, 2060));
    EXPECT_EQ(up.steps, 17);  // 100 pixels in steps of 6

    EXPECT_EQ(alarm_animation(2, wa, size, place, 255).from, QPoint(1720, 980));
    EXPECT_EQ(alarm_animation(4, wa, size, place, 255).from, QPoint(-200, 2060));
    EXPECT_EQ(alarm_animation(5, wa, size, place, 255).from, QPoint(1920, 2060));
    EXPECT_EQ(alarm_animation(0, wa, size, place, 255).kind, AlarmAnimation::Kind::none);
    EXPECT_EQ(animation_steps(7), 1);
    EXPECT_EQ(animation_steps(0), 0);
}

TEST(ProgramStart, ParametersSplitAsAShellWould) {
    // Double quotes group words; three quotes stand for a literal one.
    const ProgramCommand c =
        program_command("/opt/my player/run", "--title  \"Новости дня\" \"\"\"q\"\"\" last"_cp);
    EXPECT_EQ(c.program, QStringLiteral("/opt/my player/run"));
    const QStringList expected = {QStringLiteral("--title"), QString::fromUtf8("Новости дня"),
                                  QStringLiteral("\"q\""), QStringLiteral("last")};
    EXPECT_EQ(c.arguments, expected);
    EXPECT_EQ(program_command("p", "").arguments, QStringList());
}

TEST(ProgramStart, StartsDetachedWithoutAShell) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("a b; touch x"));
    // The quoted parameter is one argument: a shell would have run a second command.
    const std::string params = "\"" + target.toStdString() + "\"";
    ASSERT_TRUE(start_program_detached(program_command("/usr/bin/touch", params)));
    QElapsedTimer t;
    t.start();
    while (!QFileInfo::exists(target) && t.elapsed() < 10000) QThread::msleep(20);
    EXPECT_TRUE(QFileInfo::exists(target));

    EXPECT_FALSE(start_program_detached(program_command("/no/such/program", "")));
    EXPECT_FALSE(start_program_detached(program_command("", "x")));
}

}  // namespace
}  // namespace zt::reminders
