#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/application.h"
#include "core/clock.h"
#include "storage/data_files.h"
#include "test_support.h"
#include "tools/gen/schedule_generator.h"

namespace zt::test {

// The program started on a temporary folder holding an empty settings.ini and the data files
// of the tiny generated profile made at `made`; the program's clock stands at `now`. Returns
// null (with the test failed) when the folder cannot be prepared or the program does not start.
inline std::unique_ptr<Application> start_tiny_program(const QTemporaryDir& dir, DateTime made,
                                                       DateTime now) {
    if (!dir.isValid()) {
        ADD_FAILURE() << "no temporary folder";
        return nullptr;
    }
    QFile ini(dir.filePath("settings.ini"));
    if (!ini.open(QIODevice::WriteOnly)) {
        ADD_FAILURE() << "cannot write settings.ini";
        return nullptr;
    }
    ini.close();
    auto store = make_store(made);
    gen::generate(*store, gen::profile_by_name("tiny"), made);
    store->exe_dir = dir.path().toStdString() + "/";
    QDir().mkpath(dir.filePath("dat"));
    user_account user;
    Recorder rec;
    if (!save_data_files(DataContext{*store, rec, rec, user}, true, true, true, true)) {
        ADD_FAILURE() << "cannot write the data files";
        return nullptr;
    }
    auto app = std::make_unique<Application>(dir.path() + "/", dir.filePath("zorvan_tv"),
                                             std::make_shared<FixedClock>(now));
    if (app->start() != StartUp::Result::running) {
        ADD_FAILURE() << "the program did not start";
        return nullptr;
    }
    return app;
}

}  // namespace zt::test
