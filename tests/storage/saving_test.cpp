// Saving: the backup rotation, failures at every step of a save, and a saver killed at random
// moments. At every instant a complete data file must exist.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "storage/data_files.h"
#include "storage_util.h"

namespace zt {
namespace {

using test::Env;
using test::ProgramDir;

TEST(Saving, TheBackupHoldsThePreviousGeneration) {
    ProgramDir dir;
    Env env(dir);
    test::fill_sample(env, "tiny", 1);
    ASSERT_TRUE(save_u(env.ctx));
    const std::string first = test::read_bytes(dir.file("u.dat"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("u.bak")));

    env.store->channels[0]->name = "Другое имя";
    ASSERT_TRUE(save_u(env.ctx));
    const std::string second = test::read_bytes(dir.file("u.dat"));
    EXPECT_NE(second, first);
    EXPECT_EQ(test::read_bytes(dir.file("u.bak")), first);

    env.store->channels[0]->name = "Третье";
    ASSERT_TRUE(save_u(env.ctx));
    EXPECT_EQ(test::read_bytes(dir.file("u.bak")), second);
    // No temporary file stays behind.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.dat())) ++entries;
    EXPECT_EQ(entries, 2u);
}

// An empty data file (damage: what it held is lost) never becomes the backup: the backup keeps
// the last generation that held something.
TEST(Saving, AnEmptyFileNeverReplacesTheBackup) {
    ProgramDir dir;
    Env env(dir);
    test::fill_sample(env, "tiny", 1);
    ASSERT_TRUE(save_v(env.ctx));
    ASSERT_TRUE(save_v(env.ctx));
    const std::string bak = test::read_bytes(dir.file("v.bak"));
    ASSERT_FALSE(bak.empty());
    test::write_bytes(dir.file("v.dat"), "");
    ASSERT_TRUE(save_v(env.ctx));
    EXPECT_EQ(test::read_bytes(dir.file("v.bak")), bak);
    EXPECT_FALSE(test::read_bytes(dir.file("v.dat")).empty());
}

// A file system whose n-th operation fails, as a full disk or a refused rename would.
class FailingFs final : public FileSystem {
public:
    explicit FailingFs(int fail_at) : m_fail_at(fail_at) {}
    int create(const std::string& p) override {
        return fail("create") ? -1 : FileSystem::create(p);
    }
    ssize_t write(int fd, const char* d, std::size_t n) override {
        if (fail("write")) {
            errno = ENOSPC;
            return -1;
        }
        return FileSystem::write(fd, d, n);
    }
    bool sync(int fd) override { return !fail("sync") && FileSystem::sync(fd); }
    bool close(int fd) override {
        // The descriptor is released even when closing reports an error.
        const bool failed = fail("close");
        return FileSystem::close(fd) && !failed;
    }
    bool link(const std::string& a, const std::string& b) override {
        return !fail("link") && FileSystem::link(a, b);
    }
    bool rename(const std::string& a, const std::string& b) override {
        return !fail("rename") && FileSystem::rename(a, b);
    }
    bool remove(const std::string& p) override { return !fail("remove") && FileSystem::remove(p); }
    bool sync_dir(const std::string& d) override {
        return !fail("sync_dir") && FileSystem::sync_dir(d);
    }
    int ops() const { return m_ops; }
    std::string failed_op;

private:
    bool fail(const char* op) {
        if (++m_ops != m_fail_at) return false;
        failed_op = op;
        return true;
    }
    int m_fail_at;
    int m_ops = 0;
};

TEST(Saving, AFailureAtAnyStepKeepsThePreviousDataFile) {
    // Steps whose failure only costs the backup or durability of the name: the new data is in
    // place. Every other step must leave the previous file and say so. A rename is either (the
    // backup's or the data file's).
    const std::set<std::string> harmless = {"link", "remove", "sync_dir", "rename"};
    bool every_step_tried = false;
    std::set<std::string> failed_ops;
    for (int n = 1; !every_step_tried; ++n) {
        ProgramDir dir;
        Env old_env(dir);
        test::fill_sample(old_env, "tiny", 1);
        ASSERT_TRUE(save_data_files(old_env.ctx, true, true, true, true));
        const std::string old_u = test::read_bytes(dir.file("u.dat"));
        const std::string old_v = test::read_bytes(dir.file("v.dat"));

        FailingFs fs(n);
        Env env(dir, &fs);
        test::fill_sample(env, "tiny", 2);
        const bool ok = save_data_files(env.ctx, true, true, false, false);
        every_step_tried = fs.failed_op.empty();
        if (every_step_tried) {
            EXPECT_TRUE(ok);
            break;
        }
        failed_ops.insert(fs.failed_op);
        const std::string u_now = test::read_bytes(dir.file("u.dat"));
        SCOPED_TRACE("operation " + std::to_string(n) + " (" + fs.failed_op + ")");
        // Whatever failed, each data file is a complete generation, old or new.
        Env check(dir);
        ASSERT_TRUE(load_data_files(check.ctx));
        if (ok) {
            EXPECT_TRUE(harmless.count(fs.failed_op));
            EXPECT_TRUE(env.rec.messages.empty());
        } else {
            EXPECT_NE(fs.failed_op, "link");
            EXPECT_NE(fs.failed_op, "sync_dir");
            ASSERT_EQ(env.rec.messages.size(), 1u);
            EXPECT_EQ(env.rec.messages[0].kind, MsgKind::Error);
            const bool u_failed = u_now == old_u;
            const bool v_failed = test::read_bytes(dir.file("v.dat")) == old_v;
            EXPECT_NE(u_failed, v_failed) << "exactly the failed file keeps its old contents";
            EXPECT_EQ(env.rec.messages[0].text,
                      std::string("Ошибка при создании файла данных: \"") +
                          (u_failed ? "u.dat" : "v.dat") + "\"");
            EXPECT_FALSE(std::filesystem::exists(dir.file(u_failed ? "u.dat.new" : "v.dat.new")));
        }
    }
    // Every kind of step was made to fail at least once.
    EXPECT_EQ(failed_ops, (std::set<std::string>{"create", "write", "sync", "close", "remove",
                                                 "link", "rename", "sync_dir"}));
}

// A link planted under the temporary names of a save is replaced, never written through: the
// file it points at stays as it was.
TEST(Saving, PlantedLinksAreNeverFollowed) {
    ProgramDir dir;
    Env env(dir);
    test::fill_sample(env, "tiny", 1);
    ASSERT_TRUE(save_u(env.ctx));
    const std::filesystem::path victim = dir.dat() / "victim";
    test::write_bytes(victim, "precious");
    for (const char* planted : {"u.dat.new", "u.bak.new"}) {
        std::filesystem::remove(dir.file(planted));
        std::filesystem::create_symlink(victim, dir.file(planted));
        EXPECT_TRUE(save_u(env.ctx)) << planted;
        EXPECT_EQ(test::read_bytes(victim), "precious") << planted;
        EXPECT_FALSE(std::filesystem::is_symlink(dir.file("u.dat")));
        EXPECT_FALSE(std::filesystem::exists(dir.file(planted)));
    }
}

// Once a backup exists, no step of a later save leaves the folder without one.
TEST(Saving, TheBackupNeverGoesMissing) {
    class Watching final : public FileSystem {
    public:
        explicit Watching(std::string bak) : m_bak(std::move(bak)) {}
        bool link(const std::string& a, const std::string& b) override {
            return check(FileSystem::link(a, b));
        }
        bool rename(const std::string& a, const std::string& b) override {
            return check(FileSystem::rename(a, b));
        }
        bool remove(const std::string& p) override { return check(FileSystem::remove(p)); }
        int gaps = 0;

    private:
        bool check(bool result) {
            if (!FileSystem::exists(m_bak)) ++gaps;
            return result;
        }
        std::string m_bak;
    };
    ProgramDir dir;
    Watching fs(dir.file("u.bak").string());
    Env env(dir, &fs);
    test::fill_sample(env, "tiny", 1);
    ASSERT_TRUE(save_u(env.ctx));
    ASSERT_TRUE(save_u(env.ctx));
    fs.gaps = 0;
    ASSERT_TRUE(save_u(env.ctx));
    EXPECT_EQ(fs.gaps, 0);
}

// The store's bodies, for telling which generation a file holds.
struct Generation {
    std::map<std::string, std::string> body;
};

Generation generation_of(Env& env) {
    return {{{"u.dat", build_u_body(env.ctx)},
             {"v.dat", build_v_body(env.ctx)},
             {"t.dat", build_t_body(env.ctx)},
             {"m.dat", build_m_body(env.ctx)}}};
}

TEST(Saving, ASaverKilledAtRandomMomentsAlwaysLeavesALoadableGeneration) {
    ProgramDir dir;
    Env a(dir), b(dir);
    test::fill_sample(a, "tiny", 1);
    test::fill_sample(b, "tiny", 2);
    const Generation gen_a = generation_of(a), gen_b = generation_of(b);
    ASSERT_TRUE(save_data_files(a.ctx, true, true, true, true));

    // How long one round of four saves takes here, to spread the kills over it.
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) save_data_files(a.ctx, true, true, true, true);
    const auto round = (std::chrono::steady_clock::now() - t0) / 5;
    const auto spread = std::chrono::duration_cast<std::chrono::microseconds>(round * 2) +
                        std::chrono::microseconds(500);

    std::mt19937 rng(20240314);
    int old_seen = 0, new_seen = 0;
    for (int kill_no = 0; kill_no < 200; ++kill_no) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            // Save the two generations in turn until killed (or for a few seconds at most).
            const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            for (int i = 0; std::chrono::steady_clock::now() < stop; ++i)
                save_data_files(i % 2 ? a.ctx : b.ctx, true, true, true, true);
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % spread.count()));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        for (const auto& [name, body_a] : gen_a.body) {
            SCOPED_TRACE(name + " after kill " + std::to_string(kill_no));
            const auto [version, body] = test::open_file(test::read_bytes(dir.file(name)));
            ASSERT_EQ(version, 2);
            ASSERT_TRUE(body == body_a || body == gen_b.body.at(name));
            (body == body_a ? old_seen : new_seen)++;
            const std::string bak = name.substr(0, 1) + ".bak";
            if (std::filesystem::exists(dir.file(bak))) {
                const auto [bv, bb] = test::open_file(test::read_bytes(dir.file(bak)));
                ASSERT_TRUE(bb == body_a || bb == gen_b.body.at(name));
            }
        }
        Env check(dir);
        ASSERT_TRUE(load_data_files(check.ctx));
        ASSERT_TRUE(check.rec.messages.empty());
    }
    // The kills landed both before and after renames.
    EXPECT_GT(old_seen, 0);
    EXPECT_GT(new_seen, 0);
}

}  // namespace
}  // namespace zt
