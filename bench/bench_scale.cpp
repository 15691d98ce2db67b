// Growing past one process, measured: zorvan-server processes (real ones, as a provider runs
// them) on one PostgreSQL database, one alone and three behind nginx, and one on SQLite, all
// serving the same generated schedule (50 channels, three weeks, announcements). Clients make
// each request on a fresh connection, as the application does, for two calls: the login check
// (a small reply, one database read per request) and the current week of every channel as a
// paid user (a 700 KB reply from the in-memory blocks, one database read for the account).
// The set-ups take turns, several short phases each, so that other load on the machine falls
// on all alike; the figures are printed with their ratios.
//   ZT_CLIENTS   concurrent clients (default 20)
//   ZT_ROUNDS    phases per set-up and call (default 4, one second each)
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_server_db.h"
#include "core/text_helpers.h"
#include "net/protocol/schedule_request.h"
#include "server/channel_data.h"
#include "server/database.h"
#include "server/ingest.h"
#include "tools/peers/peers.h"
#include "tools/peers/pg_cluster.h"

extern char** environ;

namespace {

using namespace zt;
using Clock = std::chrono::steady_clock;

const int kClients = std::getenv("ZT_CLIENTS") ? std::atoi(std::getenv("ZT_CLIENTS")) : 20;
const int kRounds = std::getenv("ZT_ROUNDS") ? std::atoi(std::getenv("ZT_ROUNDS")) : 4;
constexpr auto kPhase = std::chrono::seconds(1);

std::string server_exe() {
    return std::string(ZT_BENCH_BINARY_DIR) + "/server/zorvan-server";
}

// A zorvan-server serve process, ended with SIGTERM.
class Serve final {
public:
    Serve(const std::string& db, const std::string& at, int threads) : m_port(peers::free_port()) {
        const std::string listen = "127.0.0.1:" + std::to_string(m_port);
        const std::string log = "/dev/null";
        std::vector<std::string> args{server_exe(),
                                      "serve",
                                      "--db",
                                      db,
                                      "--listen",
                                      listen,
                                      "--at",
                                      at,
                                      "--quiet",
                                      "--threads",
                                      std::to_string(threads)};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        // Ready once it accepts connections.
        for (int i = 0; i < 500; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_port = htons(std::uint16_t(m_port));
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
            ::close(fd);
            if (up) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::fprintf(stderr, "bench_scale: zorvan-server did not start\n");
        std::exit(1);
    }
    ~Serve() {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    int port() const { return m_port; }

private:
    int m_port;
    pid_t m_pid = -1;
};

struct Totals final {
    long done = 0;
    long short_replies = 0;  // smaller than the first reply seen: a failure
    std::size_t size = 0;
    double seconds = 0;
    double rps() const { return seconds > 0 ? double(done) / seconds : 0; }
};

void load(int port, const std::string& request, Totals& totals) {
    std::atomic<long> done{0}, bad{0};
    const auto start = Clock::now();
    const auto end = start + kPhase;
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i)
        clients.emplace_back([&] {
            while (Clock::now() < end) {
                const std::size_t n = peers::request_bytes(port, request);
                if (totals.size == 0) totals.size = n;
                if (n < totals.size) ++bad;
                ++done;
            }
        });
    for (auto& t : clients) t.join();
    totals.seconds += std::chrono::duration<double>(Clock::now() - start).count();
    totals.done += done;
    totals.short_replies += bad;
}

std::string at_text(DateTime t) {
    char text[32];
    int y = 0, m = 0, d = 0;
    t.toParts(y, m, d);
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", y, m, d, t.hour(), t.minute());
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (const std::string& why :
         {peers::PgCluster::unavailable(), peers::NginxProcess::unavailable()})
        if (!why.empty()) {
            std::printf("skipped: %s\n", why.c_str());
            return 0;
        }
    QTemporaryDir dir;
    peers::PgCluster pg;
    const std::string pg_db = pg.create_database();
    const std::string sqlite_db = dir.filePath("bench.db").toStdString();
    const DateTime at = *DateTime::fromParts(2026, 6, 10, 12, 0);
    std::map<std::int32_t, std::string> stamps;
    for (const std::string& location : {sqlite_db, pg_db}) {
        server::Database db(QString::fromStdString(location));
        stamps = bench::seed_bench_database(db, at);
    }
    std::vector<std::int32_t> ids;
    for (const auto& [id, stamp] : stamps) ids.push_back(id);
    // The client holds the previous and the next week and asks for the current one.
    protocol::ScheduleRequest request;
    const DateTime monday = monday_of_week(at.date());
    for (std::int32_t id : ids) {
        protocol::WantedChannel c{id, stamps[id], {}};
        for (int d = -7; d < 14; ++d)
            if (d < 0 || d >= 7) c.days.push_back({server::day_text(monday.addDays(d)), 1, 1});
        request.channels.push_back(std::move(c));
    }
    const std::string body = protocol::write_schedule_request(request);
    const std::string fields = "l=bench&p=" + md5_hex("bench");
    const std::string week = "POST /cgi-bin/soft.cgi?func=get_tvprog&" + fields +
                             "&a=1 HTTP/1.0\nHost: zorvan.example\nAccept: */*\nContent-length: " +
                             std::to_string(body.size()) + "\n\n" + body;
    const std::string login = "GET /cgi-bin/soft.cgi?func=login_check&" + fields +
                              " HTTP/1.0\nHost: zorvan.example\nAccept: */*\n\n";

    // Each process has a third of the workers of the one alone, so that the three together hold
    // as many database connections.
    const std::string at_arg = at_text(at);
    Serve sqlite_one(sqlite_db, at_arg, 24);
    Serve pg_one(pg_db, at_arg, 24);
    std::vector<std::unique_ptr<Serve>> pg_three;
    for (int i = 0; i < 3; ++i) pg_three.push_back(std::make_unique<Serve>(pg_db, at_arg, 8));
    peers::NginxProcess nginx_one({pg_one.port()});
    peers::NginxProcess nginx_three(
        {pg_three[0]->port(), pg_three[1]->port(), pg_three[2]->port()});

    struct Setup final {
        const char* name;
        int port;
        Totals login, week;
    };
    std::vector<Setup> setups = {{"SQLite, 1 process", sqlite_one.port(), {}, {}},
                                 {"PostgreSQL, 1 process", pg_one.port(), {}, {}},
                                 {"PostgreSQL, 1 behind nginx", nginx_one.port(), {}, {}},
                                 {"PostgreSQL, 3 behind nginx", nginx_three.port(), {}, {}}};
    std::printf("%d clients, %d rounds of %lld s per set-up and call, %zu channels\n", kClients,
                kRounds, static_cast<long long>(kPhase.count()), ids.size());
    for (auto& s : setups) {  // a first request of each, so that each process holds its blocks
        peers::request_bytes(s.port, week);
        peers::request_bytes(s.port, login);
    }
    // Forwards in one round, backwards in the next: none is always measured first.
    for (int round = 0; round < kRounds; ++round)
        for (std::size_t i = 0; i < setups.size(); ++i) {
            Setup& s = setups[round % 2 ? setups.size() - 1 - i : i];
            load(s.port, login, s.login);
            load(s.port, week, s.week);
        }
    std::printf("%-30s %14s %14s %12s\n", "", "login_check/s", "week/s", "week MB/s");
    for (const auto& s : setups) {
        std::printf("%-30s %14.0f %14.0f %12.1f", s.name, s.login.rps(), s.week.rps(),
                    s.week.rps() * double(s.week.size) / 1e6);
        if (s.login.short_replies + s.week.short_replies)
            std::printf("  (%ld short replies)", s.login.short_replies + s.week.short_replies);
        std::printf("\n");
    }
    std::printf("week reply %zu bytes, login reply %zu bytes\n", setups[0].week.size,
                setups[0].login.size);
    auto ratio = [](const Totals& a, const Totals& b) {
        return b.rps() > 0 ? a.rps() / b.rps() : 0;
    };
    std::printf(
        "throughput, 3 processes behind nginx / 1 process alone (PostgreSQL): "
        "login %.2f, week %.2f\n",
        ratio(setups[3].login, setups[1].login), ratio(setups[3].week, setups[1].week));
    std::printf(
        "throughput, 3 behind nginx / 1 behind nginx (PostgreSQL):          "
        "login %.2f, week %.2f\n",
        ratio(setups[3].login, setups[2].login), ratio(setups[3].week, setups[2].week));
    std::printf(
        "throughput, PostgreSQL / SQLite (1 process):                       "
        "login %.2f, week %.2f\n",
        ratio(setups[1].login, setups[0].login), ratio(setups[1].week, setups[0].week));
    return 0;
}
