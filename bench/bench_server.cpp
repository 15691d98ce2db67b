// Serving benchmark: 20 concurrent clients, each request on its own connection as the
// application makes it, against zorvan-server's front on an ingested database (50 channels,
// three weeks, announcements), for three replies: small (the paid login check), medium (the
// current week of every channel with announcements, the client holding the other two) and
// full (all three weeks for a new client). The reference is nginx serving the same reply bytes
// as static files, started on a free port and measured in the same run, taking turns with the
// server. Reported: requests per second, mean time per request and throughput of both, and
// the ratio of the times per request (target <= 1.3); beside it the processor time per request
// of each side (the clients, which run in this process, included in both).
// Environment: ZT_CLIENTS concurrent clients (default 20), ZT_ROUNDS phases per reply and server
// (default 4), ZT_CALLS the replies to measure (names or their first words: "small,medium";
// default all).
#include <dirent.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "bench_server_db.h"
#include "core/text_helpers.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_request.h"
#include "server/channel_data.h"
#include "server/database.h"
#include "server/http_front.h"
#include "server/ingest.h"
#include "tools/peers/peers.h"
#include "tools/peers/pg_cluster.h"

namespace {

using namespace zt;
using Clock = std::chrono::steady_clock;

static const int kClients = getenv("ZT_CLIENTS") ? atoi(getenv("ZT_CLIENTS")) : 20;
// The two servers take turns, several phases each, so that other load on the machine falls on
// both alike.
constexpr auto kPhase = std::chrono::seconds(1);
static const int kRounds = getenv("ZT_ROUNDS") ? atoi(getenv("ZT_ROUNDS")) : 4;

struct Figures final {
    double rps = 0;
    double ms_per_request = 0;
    double cpu_us_per_request = 0;
    double mb_per_s = 0;
    std::size_t bytes_per_reply = 0;
};

struct Totals final {
    long done = 0;
    std::size_t bytes = 0;
    std::size_t last = 0;
    double seconds = 0;
    double cpu_seconds = 0;

    Figures figures() const {
        Figures f;
        f.rps = double(done) / seconds;
        f.ms_per_request = 1000.0 * seconds * kClients / double(done);
        f.mb_per_s = double(bytes) / seconds / 1e6;
        f.bytes_per_reply = last;
        f.cpu_us_per_request = 1e6 * cpu_seconds / double(done);
        return f;
    }
};

// Processor seconds of this process (the clients, and the server when it runs in here).
double own_cpu() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Processor seconds of a process and its living children (nginx's master and workers).
double tree_cpu(pid_t root) {
    const double tick = double(sysconf(_SC_CLK_TCK));
    double total = 0;
    DIR* proc = opendir("/proc");
    if (!proc) return 0;
    while (const dirent* e = readdir(proc)) {
        const pid_t pid = atoi(e->d_name);
        if (pid <= 0) continue;
        std::ifstream in("/proc/" + std::string(e->d_name) + "/stat");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto close = text.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(text.substr(close + 2));
        std::string state;
        long ppid = 0;
        fields >> state >> ppid;
        if (pid != root && ppid != root) continue;
        std::string skip;
        for (int i = 0; i < 9; ++i) fields >> skip;  // fields 6 to 14 come before utime
        unsigned long long utime = 0, stime = 0;
        fields >> utime >> stime;
        total += double(utime + stime) / tick;
    }
    closedir(proc);
    return total;
}

// kClients threads send the request again and again for one phase; `other` is a process
// serving outside this one (or 0).
void load(int port, const std::string& request, Totals& totals, pid_t other) {
    const double cpu_before = own_cpu() + (other ? tree_cpu(other) : 0);
    std::atomic<long> done{0};
    std::atomic<std::size_t> bytes{0};
    std::atomic<std::size_t> last{0};
    const auto end = Clock::now() + kPhase;
    std::vector<std::thread> clients;
    const auto start = Clock::now();
    for (int i = 0; i < kClients; ++i)
        clients.emplace_back([&] {
            while (Clock::now() < end) {
                const std::size_t n = peers::request_bytes(port, request);
                bytes += n;
                last = n;
                ++done;
            }
        });
    for (auto& t : clients) t.join();
    totals.seconds += std::chrono::duration<double>(Clock::now() - start).count();
    totals.cpu_seconds += own_cpu() + (other ? tree_cpu(other) : 0) - cpu_before;
    totals.done += done;
    totals.bytes += bytes;
    totals.last = last;
}

void print(const char* name, const Figures& f) {
    std::printf(
        "  %-26s %8.1f req/s  %7.2f ms/request  %7.1f MB/s  %8zu bytes/reply  %7.0f us "
        "cpu/request\n",
        name, f.rps, f.ms_per_request, f.mb_per_s, f.bytes_per_reply, f.cpu_us_per_request);
}

std::string schedule_post(const std::string& body) {
    return "POST /cgi-bin/soft.cgi?func=get_tvprog&l=bench&p=" + md5_hex("bench") +
           "&a=1 HTTP/1.0\nHost: zorvan.example\nAccept: */*\nContent-length: " +
           std::to_string(body.size()) + "\n\n" + body;
}

// The body of the server's reply to a raw request (after the blank line of the head).
std::string reply_body(int port, const std::string& request) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(std::uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string got;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
        char buf[1 << 16];
        for (ssize_t n; (n = ::recv(fd, buf, sizeof buf, 0)) > 0;) got.append(buf, std::size_t(n));
    }
    ::close(fd);
    const std::size_t end = got.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : got.substr(end + 4);
}

}  // namespace

int main(int argc, char** argv) {
    // As zorvan-server's main does.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString db_path = dir.filePath("bench.db");
    const DateTime at = *DateTime::fromParts(2026, 6, 10, 12, 0);
    std::map<std::int32_t, std::string> stamps;
    {
        server::Database db(db_path);
        stamps = bench::seed_bench_database(db, at);
    }
    std::vector<std::int32_t> ids;
    for (const auto& [id, stamp] : stamps) ids.push_back(id);
    // Medium: the client holds the previous and the next week and asks for the current one.
    // Full: a new client asks for everything.
    protocol::ScheduleRequest week, fresh;
    const DateTime monday = monday_of_week(at.date());
    for (std::int32_t id : ids) {
        protocol::WantedChannel c{id, stamps[id], {}};
        for (int d = -7; d < 14; ++d)
            if (d < 0 || d >= 7) c.days.push_back({server::day_text(monday.addDays(d)), 1, 1});
        week.channels.push_back(std::move(c));
        fresh.channels.push_back({id, "", {}});
    }

    server::ServiceOptions service;
    service.now = at;
    server::FrontOptions options;
    options.access_log = false;
    server::HttpFront front(db_path, server::Service(service), options);
    const int port = front.bind("127.0.0.1", 0);
    std::thread serving([&] { front.run(); });

    struct Call final {
        const char* name;
        std::string request;
        std::string static_request;
        Totals reference, server;
    };
    std::vector<Call> calls = {
        {"small (login_check)",
         "GET /cgi-bin/soft.cgi?func=login_check&l=bench&p=" + md5_hex("bench") +
             " HTTP/1.0\nHost: zorvan.example\nAccept: */*\n\n",
         "GET /static/small.bin HTTP/1.0\r\nHost: zorvan.example\r\n\r\n",
         {},
         {}},
        {"medium (current week)",
         schedule_post(protocol::write_schedule_request(week)),
         "GET /static/medium.bin HTTP/1.0\r\nHost: zorvan.example\r\n\r\n",
         {},
         {}},
        {"full (three weeks)",
         schedule_post(protocol::write_schedule_request(fresh)),
         "GET /static/full.bin HTTP/1.0\r\nHost: zorvan.example\r\n\r\n",
         {},
         {}}};

    // nginx serves each reply's bytes as a static file.
    const std::string why = peers::NginxProcess::unavailable();
    if (!why.empty()) {
        std::printf("skipped: %s\n", why.c_str());
        front.stop();
        serving.join();
        return 0;
    }
    peers::NginxProcess nginx({});
    for (auto& c : calls) {
        const std::string body = reply_body(port, c.request);
        if (body.empty()) {
            std::fprintf(stderr, "bench_server: no reply to %s\n", c.name);
            return 1;
        }
        const std::string name = c.static_request.substr(12, c.static_request.find(' ', 4) - 12);
        QFile file(QString::fromStdString(nginx.static_folder() + "/" + name));
        file.open(QIODevice::WriteOnly);
        file.write(body.data(), qint64(body.size()));
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                            QFileDevice::ReadOther | QFileDevice::WriteOwner);
    }

    // The replies asked for (all by default).
    auto wanted = [](const Call& c) {
        const char* only = getenv("ZT_CALLS");
        if (!only || !*only) return true;
        const std::string name(c.name, std::strcspn(c.name, " "));
        return ("," + std::string(only) + ",").find("," + name + ",") != std::string::npos;
    };
    std::printf("%zu channels, %d clients, %d rounds of %lld s per reply and server\n", ids.size(),
                kClients, kRounds, static_cast<long long>(kPhase.count()));
    for (int round = 0; round < kRounds; ++round)
        for (auto& c : calls) {
            if (!wanted(c)) continue;
            load(nginx.port(), c.static_request, c.reference, nginx.pid());
            load(port, c.request, c.server, 0);
        }
    for (const auto& c : calls) {
        if (!wanted(c)) continue;
        const Figures ref = c.reference.figures();
        const Figures srv = c.server.figures();
        std::printf("%s\n", c.name);
        print("nginx, static file", ref);
        print("zorvan-server", srv);
        std::printf(
            "  time per request: %.2f x nginx's static file (target <= 1.3); processor time "
            "%.2f x\n",
            srv.ms_per_request / ref.ms_per_request,
            srv.cpu_us_per_request / ref.cpu_us_per_request);
    }

    front.stop();
    serving.join();
    return 0;
}
