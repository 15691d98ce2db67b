#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "reminders/alarm_sound.h"
#include "reminders/osd_window.h"
#include "storage/settings.h"
#include "storage/settings_store.h"
#include "test_support.h"

namespace zt::test {

// The live settings over a settings.ini in a temporary folder, a message recorder, the sound
// player and the on-screen display.
struct ReminderOutputsFixture : ::testing::Test {
    ReminderOutputsFixture() : ini(dir.filePath("settings.ini").toStdString()) {}

    QTemporaryDir dir;
    IniFile ini;
    Settings settings;
    SettingsStore live{settings};
    Recorder ui;
    std::unique_ptr<all_list> store = make_store(at("2026-12-10 12:00"));
    AlarmSound sound;
    AlarmOsd osd{ui};
};

}  // namespace zt::test
