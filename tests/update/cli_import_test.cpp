// zorvan-cli export-import-file and import: a generated program folder and the server's
// database exported, then imported into an empty program folder.
#include <gtest/gtest.h>

#include "tools/peers/peers.h"
#include "update_fixture.h"

namespace zt::test {
namespace {

using peers::run_server_command;

const QString kAt = QStringLiteral("2026-06-10 12:00");

// The number of programmes of every channel in the folder's dump ("tvprog" entries).
std::size_t programme_count(const QString& dir) {
    std::string out;
    EXPECT_EQ(run_cli({"dump", dir}, &out), 0);
    std::size_t n = 0;
    for (auto at = out.find("\"start\""); at != std::string::npos;
         at = out.find("\"start\"", at + 1))
        ++n;
    return n;
}

TEST(CliImport, ExportedFolderImportsIntoAnEmptyFolderOnce) {
    QTemporaryDir dir;
    const QString source = dir.filePath("source"), target = dir.filePath("target");
    const QString file = dir.filePath("week.zorvan_tv");
    ASSERT_EQ(run_cli({"gen", source, "--profile", "tiny", "--at", kAt}), 0);
    ASSERT_EQ(run_cli({"export-import-file", file, "--dir", source}), 0);
    QDir().mkpath(target);

    // Without a choice the offer is listed and nothing is written.
    std::string out, err;
    EXPECT_EQ(run_cli({"import", target, file}, &out, &err), 2);
    EXPECT_NE(out.find("channel "), std::string::npos);
    EXPECT_FALSE(QFile::exists(target + "/dat/u.dat"));

    ASSERT_EQ(run_cli({"import", target, file, "--all", "--at", kAt}, &out, &err), 0) << err;
    const std::size_t imported = programme_count(target);
    EXPECT_GT(imported, 0u);
    EXPECT_EQ(imported, programme_count(source));
    // Again: every day is held already.
    ASSERT_EQ(run_cli({"import", target, file, "--all", "--at", kAt}, &out, &err), 0) << err;
    EXPECT_NE(out.find("days imported 0"), std::string::npos) << out;
    EXPECT_EQ(programme_count(target), imported);

    // A damaged file names itself and changes nothing.
    write_file(dir.filePath("bad.zorvan_tv"), read_file(file).substr(0, 40));
    EXPECT_EQ(run_cli({"import", target, dir.filePath("bad.zorvan_tv"), "--all", "--at", kAt}, &out,
                      &err),
              1);
    EXPECT_NE(err.find("Ошибка данных."), std::string::npos) << err;
    EXPECT_EQ(programme_count(target), imported);
}

TEST(CliImport, ServerDatabaseExportsWhatTheServerOffers) {
    QTemporaryDir dir;
    const QString db = dir.filePath("server.db"), target = dir.filePath("target");
    ASSERT_EQ(run_server_command({"ingest", "--db", db, "--generated", "tiny", "--at", kAt}), 0);
    const QString file = dir.filePath("server.zorvan_tv");
    std::string out, err;
    ASSERT_EQ(run_cli({"export-import-file", file, "--db", db}, &out, &err), 0) << err;
    QDir().mkpath(target);
    ASSERT_EQ(run_cli({"import", target, file, "--channels", "100", "--at", kAt}, &out, &err), 0)
        << err;
    EXPECT_NE(out.find("channels 1,"), std::string::npos) << out;
    EXPECT_GT(programme_count(target), 0u);
}

}  // namespace
}  // namespace zt::test
