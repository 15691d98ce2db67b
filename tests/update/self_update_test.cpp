// The self-update against the real zorvan-server: a release's script run in a program folder,
// and hostile scripts that must leave everything outside the program folder unchanged.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDirIterator>

#include <map>

#include "net/exchange_fetch.h"
#include "net/self_update.h"
#include "net/update_paths.h"
#include "tools/peers/peers.h"
#include "update_fixture.h"

namespace zt::net {
namespace {

using test::read_file;
using test::write_file;

const std::string kFailed = "Ошибка в процессе обновления программы \"ЗОРВАН. Телепрограмма\".";
const std::string kDone =
    "Обновление успешно выполнено. Запустите программу \"ЗОРВАН. Телепрограмма.\" "
    "повторно. Открыть страницу с историей версий?";

std::string program_bytes() {
    return read_file("/bin/true");
}

// Every entry under `root` (links not followed) with its kind and contents, to compare.
std::map<std::string, std::string> snapshot(const QString& root) {
    std::map<std::string, std::string> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        std::string what = info.isSymLink() ? "link " + info.symLinkTarget().toStdString()
                           : info.isDir()   ? "dir"
                                            : read_file(path);
        out[path.toStdString()] = what;
    }
    return out;
}

class SelfUpdateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<QTemporaryDir>();
        s_server = std::make_unique<peers::ServerProcess>(
            QStringList{"--db", s_dir->filePath("server.db")});
    }
    static void TearDownTestSuite() {
        s_server.reset();
        s_dir.reset();
    }

    void SetUp() override {
        prog = root.filePath("prog") + "/";
        QDir().mkpath(prog + "dat");
        ctx.service = "127.0.0.1:" + std::to_string(s_server->port());
        ctx.limits.receive_timeout = std::chrono::milliseconds(5000);
    }

    // Publishes `script` as the server's release, with the files its GET lines name.
    void release(const std::string& script, const std::map<std::string, std::string>& files) {
        const QString files_dir = root.filePath("files");
        for (const auto& [name, bytes] : files)
            write_file(files_dir + "/" + QString::fromStdString(name), bytes);
        write_file(root.filePath("script.txt"), script);
        std::string out;
        ASSERT_EQ(peers::run_server_command(
                      {"release", "--db", s_dir->filePath("server.db"), "--version", "2011010101",
                       "--script", root.filePath("script.txt"), "--files", files_dir},
                      &out),
                  0)
            << out;
    }

    SelfUpdateResult run() {
        UpdateContext uc{prog.toStdString(), rec, fetch};
        return SelfUpdate(
            uc, [&] { saved = true; }, [&] { history = true; });
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : rec.messages) out.push_back(m.text);
        return out;
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<peers::ServerProcess> s_server;

    QTemporaryDir root;
    QString prog;
    test::Recorder rec;
    NullExchangeView view;
    std::uint8_t net_cancel = 0;
    TrafficCounters traffic;
    ExchangeContext ctx{rec, view, net_cancel, traffic};
    ExchangeFetch fetch{ctx, "/cgi-bin/soft.cgi"};
    bool saved = false;
    bool history = false;
};

TEST_F(SelfUpdateTest, RealScriptReplacesTheRunningProgram) {
    // The running program, a folder and a link among the files the mask matches.
    write_file(prog + "zorvan_tv", read_file("/bin/sleep"));
    QFile::setPermissions(prog + "zorvan_tv",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess running;
    running.start(prog + "zorvan_tv", {"30"});
    ASSERT_TRUE(running.waitForStarted());
    write_file(prog + "dat/a.tmp", "old");
    write_file(prog + "dat/u.dat", "keep");
    QDir().mkpath(prog + "dat/folder.tmp");
    write_file(root.filePath("outside/target.tmp"), "outside");
    QFile::link(root.filePath("outside/target.tmp"), prog + "dat/link.tmp");

    const std::string readme = "Что нового\n";
    const std::string exe = program_bytes();
    release(
        "GET\treadme.txt\tdocs\\\r\n"
        "SIZE\tdocs\\readme.txt\t" +
            std::to_string(readme.size()) +
            "\r\n"
            "\r\n"
            "RNM\tzorvan_tv\told_zorvan_tv\r\n"
            "GET\tzorvan_tv\t\r\n"
            "SIZE\tzorvan_tv\t" +
            std::to_string(exe.size()) +
            "x\r\n"
            "DEL\t*.tmp\tdat\\\r\n"
            "get\tnothing\t\r\n",
        {{"readme.txt", readme}, {"zorvan_tv", exe}});

    rec.answer = true;
    EXPECT_EQ(run(), SelfUpdateResult::done) << ::testing::PrintToString(texts());
    EXPECT_TRUE(saved);
    EXPECT_TRUE(history);
    EXPECT_EQ(texts(), std::vector<std::string>{kDone});

    EXPECT_EQ(read_file(prog + "docs/readme.txt"), readme);
    EXPECT_EQ(read_file(prog + "old_zorvan_tv"), read_file("/bin/sleep"));
    EXPECT_EQ(running.state(), QProcess::Running);
    // The new program is complete and runnable.
    EXPECT_EQ(read_file(prog + "zorvan_tv"), exe);
    EXPECT_EQ(QProcess::execute(prog + "zorvan_tv", {}), 0);
    // Files matching the mask went, the folder stayed, the link went but not its target.
    EXPECT_FALSE(QFile::exists(prog + "dat/a.tmp"));
    EXPECT_FALSE(QFileInfo(prog + "dat/link.tmp").isSymLink());
    EXPECT_TRUE(QFileInfo(prog + "dat/folder.tmp").isDir());
    EXPECT_EQ(read_file(prog + "dat/u.dat"), "keep");
    EXPECT_EQ(read_file(root.filePath("outside/target.tmp")), "outside");
    // No temporary file is left behind.
    EXPECT_EQ(QDir(prog).entryList(QDir::Hidden | QDir::Files).filter(".zorvan_tv").size(), 0);
    running.kill();
    running.waitForFinished();
}

TEST_F(SelfUpdateTest, HostileScriptsChangeNothingOutsideTheProgramFolder) {
    write_file(prog + "zorvan_tv", "program");
    write_file(root.filePath("outside/victim"), "victim");
    write_file(root.filePath("x"), "sibling");
    QFile::link(root.filePath("outside"), prog + "out");
    const std::string outside = root.filePath("outside").toStdString();
    const struct stat before_tmp_x = [] {
        struct stat st {};
        ::lstat("/tmp/x", &st);
        return st;
    }();
    const std::vector<std::string> lines = {
        "GET\tx\t..\\",
        "GET\t..\\x\t",
        "GET\tx\t/tmp/",
        "GET\tx\t" + outside + "/",
        "GET\tx\tout\\",
        "RNM\tzorvan_tv\t..\\x",
        "RNM\t" + outside + "/victim\tstolen",
        "RNM\tzorvan_tv\tout\\victim",
        "DEL\t*\t..\\",
        "DEL\t..\\*\t",
        "DEL\t*\tout\\",
        "DEL\t*\t" + outside + "/",
        "SIZE\t..\\outside\\victim\t6",
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line);
        release(line + "\nGET\tafter.txt\t\n",
                {{"x", "new"}, {"..\\x", "new"}, {"after.txt", "after"}});
        const auto before = snapshot(root.path());
        rec.messages.clear();
        EXPECT_EQ(run(), SelfUpdateResult::script_failed);
        ASSERT_EQ(rec.messages.size(), 2u) << ::testing::PrintToString(texts());
        EXPECT_EQ(rec.messages[0].text.rfind("Недопустимый путь в сценарии обновления: ", 0), 0u)
            << rec.messages[0].text;
        EXPECT_EQ(rec.messages[1].text, kFailed);
        // The script stopped at the refused command: nothing anywhere changed.
        EXPECT_EQ(snapshot(root.path()), before);
        struct stat after_tmp_x {};
        ::lstat("/tmp/x", &after_tmp_x);
        EXPECT_EQ(after_tmp_x.st_ino, before_tmp_x.st_ino);
        EXPECT_EQ(after_tmp_x.st_mtime, before_tmp_x.st_mtime);
    }
}

TEST_F(SelfUpdateTest, DownloadedExecutablesMustCarryTheirHeader) {
    struct Case {
        std::string name;
        std::string bytes;
        bool ok;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"setup.exe", "MZ\x90", true, ""},
        {"bad.exe", "PK\x03", false, "Не верный заголовок exe файла."},
        {"readme.EXE", "text", true, ""},  // the comparison is case-sensitive
        {"zorvan_tv", "MZ not for this platform", false, "Не верный заголовок исполняемого файла."},
        {"missing.txt", "", false, ""},  // the server answers 404: the exchange's message
    };
    std::map<std::string, std::string> files;
    std::string script;
    for (const auto& c : cases)
        if (!c.bytes.empty()) {
            files[c.name] = c.bytes;
            script += "GET\t" + c.name + "\t\n";
        }
    release(script, files);
    UpdateContext uc{prog.toStdString(), rec, fetch};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rec.messages.clear();
        EXPECT_EQ(UpdateGet(uc, c.name, ""), c.ok);
        EXPECT_EQ(QFile::exists(prog + QString::fromStdString(c.name)), c.ok);
        if (!c.message.empty()) {
            EXPECT_EQ(texts(), std::vector<std::string>{c.message});
        }
        if (!c.ok) {
            EXPECT_EQ(rec.messages.size(), 1u);
        }
    }
}

TEST(UpdateCommands, SizeRenameAndPaths) {
    QTemporaryDir dir;
    const std::string prog = dir.path().toStdString() + "/";
    test::write_file(dir.filePath("f"), "12345");
    test::write_file(dir.filePath("g"), "");
    test::Recorder rec;
    struct NoFetch final : ServiceFetch {
        std::optional<std::string> get(const std::string&) override { return std::nullopt; }
    } none;
    UpdateContext uc{prog, rec, none};
    // The expected size is the number at the start of the text.
    for (const auto& [path, text, ok] :
         std::vector<std::tuple<std::string, std::string, bool>>{{"f", "5", true},
                                                                 {"f", "  +5x", true},
                                                                 {"f", "-5", false},
                                                                 {"f", "", false},
                                                                 {"g", "abc", true},
                                                                 {"missing", "0", false}}) {
        rec.messages.clear();
        EXPECT_EQ(UpdateSize(uc, path, text), ok) << path << " " << text;
        if (!ok) {
            EXPECT_EQ(rec.messages.at(0).text, "Не верный размер принятого файла.");
        }
    }
    // A rename onto an existing file is refused and names both full paths.
    rec.messages.clear();
    EXPECT_FALSE(UpdateRename(uc, "f", "g"));
    EXPECT_EQ(rec.messages.at(0).text,
              "Ошибка переименования файла: \"" + prog + "f\" в \"" + prog + "g\"");
    EXPECT_EQ(test::read_file(dir.filePath("g")), "");

    // Only "*" and "?" are wildcards, and letter case does not count.
    test::write_file(dir.filePath("a[1].tmp"), "");
    test::write_file(dir.filePath("a1.tmp"), "");
    test::write_file(dir.filePath("B.TMP"), "");
    EXPECT_TRUE(UpdateDelete(uc, "a[1].tmp", ""));
    EXPECT_TRUE(UpdateDelete(uc, "b.tm?", ""));
    EXPECT_FALSE(QFile::exists(dir.filePath("a[1].tmp")));
    EXPECT_TRUE(QFile::exists(dir.filePath("a1.tmp")));
    EXPECT_FALSE(QFile::exists(dir.filePath("B.TMP")));

    // Paths are relative to the program folder and stay inside it.
    QDir().mkpath(dir.filePath("sub"));
    for (const auto& [rel, ok] :
         std::vector<std::pair<std::string, bool>>{{"x", true},
                                                   {"sub\\x", true},
                                                   {"sub/x", true},
                                                   {"new\\deeper\\x", true},
                                                   {"..\\x", false},
                                                   {"sub\\..\\..\\x", false},
                                                   {"/tmp/x", false},
                                                   {"\\tmp\\x", false},
                                                   {"C:\\x", false},
                                                   {"", false},
                                                   {"sub\\", false},
                                                   {std::string("a\0b", 3), false}})
        EXPECT_EQ(path_in_program_folder(prog, rel).has_value(), ok) << rel;
}

}  // namespace
}  // namespace zt::net
