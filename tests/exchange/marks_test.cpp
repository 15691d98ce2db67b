// A paid user's own state (marks, reminders, favourites) across downloads from a real
// zorvan-server: kept by repeated updates and by replaced days, "nothing new" from an unchanged
// server whether the store's days have announcements or not, and a download that fails
// halfway changing nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/text_helpers.h"
#include "net/protocol/login_reply.h"
#include "session_fixture.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using protocol::format_minute;

using peers::ServerProcess;

// The user's state of every programme that has any, one line each.
std::vector<std::string> user_state(const all_list& store) {
    std::vector<std::string> out;
    for (const auto& c : store.channels)
        for (const auto& p : c->tvprog)
            if (p->mark || p->alarm || p->love)
                out.push_back(std::to_string(c->id) + " " + std::to_string(p->id) + " " +
                              format_minute(p->start) + " mark " + std::to_string(p->mark) +
                              " alarm " + std::to_string(p->alarm) + " love " +
                              (p->love ? std::to_string(p->love->id) : "-"));
    return out;
}

bool day_has_anons(const chl_serv_list& c, const std::string& day) {
    for (const auto& p : c.tvprog)
        if (p->anons && format_minute(p->start).rfind(day, 0) == 0) return true;
    return false;
}

// Marks, reminders and a favourite spread over every channel and day; returns how many of
// them fall on days with and without announcements.
std::pair<int, int> mark_programmes(all_list& store) {
    int with = 0, without = 0;
    for (const auto& c : store.channels) {
        // A favourite goes with every programme of its title, as maintenance keeps it.
        const std::string title = c->tvprog[2]->title;
        const auto love = store.add_love(*c, 1, title, 1, DateTime());
        for (std::size_t i = 0; i < c->tvprog.size(); ++i) {
            tvprog_serv_list& p = *c->tvprog[i];
            if (p.title == title)
                p.love = love;
            else if (i % 9 == 0)
                p.mark = 1;
            else if (i % 9 == 4)
                p.alarm = 1;
            else
                continue;
            (day_has_anons(*c, format_minute(p.start).substr(0, 10)) ? with : without)++;
        }
    }
    return {with, without};
}

void fetch_package(SessionFixture& f) {
    ASSERT_TRUE(f.session.LoginCheck(0)) << f.last_message();
    ASSERT_TRUE(f.session.GetPakets()) << f.last_message();
    f.tick_paket(f.session.selection.update_pakets.front()->id);
    ASSERT_EQ(f.session.GetTvprog(0), net::TvprogOutcome::applied) << f.last_message();
    f.session.ClearSelection();
}

net::TvprogOutcome update(SessionFixture& f) {
    EXPECT_TRUE(f.session.LoginCheck(1)) << f.last_message();
    return f.session.GetTvprog(1);
}

// The store holds days with and without announcements; every automatic download after the
// first finds nothing new and keeps every mark.
TEST(PaidMarks, RepeatedUpdatesKeepEveryMarkAndFindNothingNew) {
    ServerProcess server;
    SessionFixture f(server.address());
    f.sign_in("paid", "secret");
    fetch_package(f);
    const auto [with, without] = mark_programmes(*f.store);
    ASSERT_GT(with, 0);
    ASSERT_GT(without, 0);
    const auto marked = user_state(*f.store);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(update(f), net::TvprogOutcome::empty) << "round " << round;
        EXPECT_EQ(user_state(*f.store), marked) << "round " << round;
    }
    // Every day is recorded as held with announcements, those without any included.
    for (const auto& c : f.store->channels)
        for (const auto& d : c->dates) EXPECT_EQ(d.with_anons, 1) << c->id << " " << d.date;
}

// A store whose days without announcements were recorded without them (as earlier versions
// did) is held all the same.
TEST(PaidMarks, DaysWithoutAnnouncementsAreHeldWhateverTheClientRecorded) {
    ServerProcess server;
    SessionFixture f(server.address());
    f.sign_in("paid", "secret");
    fetch_package(f);
    int lowered = 0;
    for (const auto& c : f.store->channels)
        for (auto& d : c->dates)
            if (!day_has_anons(*c, d.date)) {
                d.with_anons = 0;
                ++lowered;
            }
    ASSERT_GT(lowered, 0);
    EXPECT_EQ(update(f), net::TvprogOutcome::empty);
}

// Days the server sends again (here: every channel's stamp changed) replace the store's days;
// the user's state carries over to the programmes of the same id, and a pending report
// follows them.
TEST(PaidMarks, ReplacedDaysKeepTheUserState) {
    ServerProcess server;
    SessionFixture f(server.address());
    f.sign_in("paid", "secret");
    fetch_package(f);
    mark_programmes(*f.store);
    const auto marked = user_state(*f.store);
    ASSERT_FALSE(marked.empty());
    for (const auto& c : f.store->channels) c->stamp = "00000000";
    EXPECT_EQ(update(f), net::TvprogOutcome::applied);
    EXPECT_EQ(user_state(*f.store), marked);
    // The report went out with that download and stays delivered in the new programmes.
    for (const auto& c : f.store->channels)
        for (const auto& p : c->tvprog)
            if (p->mark || p->alarm || p->love) {
                EXPECT_EQ(p->reported, 1) << p->id;
            }
    EXPECT_TRUE(f.session.ReportMarks().empty());
}

std::string file_bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// The quiet automatic download whose reply breaks off in its last block: the days before it
// must not replace the store's (their marks would be lost at the next save), and no file
// changes.
TEST(PaidMarks, ADownloadFailingHalfwayChangesNothing) {
    ServerProcess server;
    ServerProcess cut("cut-block");
    SessionFixture f(server.address());
    // Free days first, so that the paid download brings every day again.
    fetch_package(f);
    mark_programmes(*f.store);
    ASSERT_EQ(update(f), net::TvprogOutcome::empty);  // the marks are reported and saved
    const std::string dat = f.store->data_dir();
    const std::string t_before = file_bytes(dat + "t.dat"), m_before = file_bytes(dat + "m.dat");
    ASSERT_FALSE(t_before.empty());

    f.ctx.service = cut.address();
    f.sign_in("paid", "secret");
    f.settings.personal.auto_quiet = true;
    ASSERT_TRUE(f.session.LoginCheck(1)) << f.last_message();
    const std::string before = f.json();
    const auto marked = user_state(*f.store);
    EXPECT_EQ(f.session.GetTvprog(1), net::TvprogOutcome::data_error);
    EXPECT_EQ(user_state(*f.store), marked);
    EXPECT_TRUE(f.json() == before) << "the store changed";
    EXPECT_EQ(file_bytes(dat + "t.dat"), t_before);
    EXPECT_EQ(file_bytes(dat + "m.dat"), m_before);
}

}  // namespace
}  // namespace zt::test
