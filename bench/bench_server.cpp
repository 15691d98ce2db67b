// Serving benchmark: 20 concurrent clients download the current week (7 days with
// announcements) of 50 channels, each request on its own connection as the application makes
// it, from zorvan-server's front on an ingested database. The reference is the same HTTP
// library serving the same reply bytes from a static file. Reported: requests per second,
// mean time per request and throughput of both, and their ratio (target <= 1.5).
#include <httplib.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "core/text_helpers.h"
#include "net/protocol/paket_list.h"
#include "net/protocol/schedule_request.h"
#include "server/channel_data.h"
#include "server/database.h"
#include "server/http_front.h"
#include "server/ingest.h"

namespace {

using namespace zt;
using Clock = std::chrono::steady_clock;

static const int kClients = getenv("ZT_CLIENTS") ? atoi(getenv("ZT_CLIENTS")) : 20;
// The two servers take turns, several phases each, so that other load on the machine falls on
// both alike.
constexpr auto kPhase = std::chrono::seconds(2);
constexpr int kRounds = 3;

// One request on a fresh connection; the number of bytes received until the server closed.
std::size_t exchange(int port, const std::string& request) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(std::uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::size_t got = 0;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
        static thread_local char buf[1 << 16];
        for (ssize_t n; (n = ::recv(fd, buf, sizeof buf, 0)) > 0;) got += std::size_t(n);
    }
    ::close(fd);
    return got;
}

struct Figures final {
    double rps = 0;
    double ms_per_request = 0;
    double mb_per_s = 0;
    std::size_t bytes_per_reply = 0;
};

struct Totals final {
    long done = 0;
    std::size_t bytes = 0;
    std::size_t last = 0;
    double seconds = 0;

    Figures figures() const {
        Figures f;
        f.rps = double(done) / seconds;
        f.ms_per_request = 1000.0 * seconds * kClients / double(done);
        f.mb_per_s = double(bytes) / seconds / 1e6;
        f.bytes_per_reply = last;
        return f;
    }
};

// kClients threads send the request again and again for one phase.
void load(int port, const std::string& request, Totals& totals) {
    std::atomic<long> done{0};
    std::atomic<std::size_t> bytes{0};
    std::atomic<std::size_t> last{0};
    const auto end = Clock::now() + kPhase;
    std::vector<std::thread> clients;
    const auto start = Clock::now();
    for (int i = 0; i < kClients; ++i)
        clients.emplace_back([&] {
            while (Clock::now() < end) {
                const std::size_t n = exchange(port, request);
                bytes += n;
                last = n;
                ++done;
            }
        });
    for (auto& t : clients) t.join();
    totals.seconds += std::chrono::duration<double>(Clock::now() - start).count();
    totals.done += done;
    totals.bytes += bytes;
    totals.last = last;
}

void print(const char* name, const Figures& f) {
    std::printf("%-28s %8.1f req/s  %7.2f ms/request  %7.1f MB/s  %8zu bytes/reply\n", name, f.rps,
                f.ms_per_request, f.mb_per_s, f.bytes_per_reply);
}

}  // namespace

int main(int argc, char** argv) {
    // As zorvan-server's main does (both servers of this process profit alike).
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString db_path = dir.filePath("bench.db");
    const DateTime at = *DateTime::fromParts(2026, 6, 10, 12, 0);
    std::vector<std::int32_t> ids;
    std::map<std::int32_t, std::string> stamps;
    {
        server::Database db(db_path);
        server::ingest_generated(db, gen::Profile{"bench", 50, 22, 48, 2}, at, 7);
        db.exec(
            "INSERT INTO accounts (login, md5, paid, balance, text1, text3) VALUES "
            "(?, ?, 1, 0, x'', x'')",
            server::blob("bench"), QString::fromStdString(md5_hex("bench")));
        QSqlQuery q = db.exec("SELECT id, stamp FROM channels ORDER BY id");
        while (q.next()) {
            ids.push_back(q.value(0).toInt());
            stamps[ids.back()] = q.value(1).toString().toStdString();
        }
    }
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
    const std::string post =
        "POST /cgi-bin/soft.cgi?func=get_tvprog&l=bench&p=" + md5_hex("bench") +
        "&a=1 HTTP/1.0\nHost: zorvan.example\nAccept: */*\nContent-length: " +
        std::to_string(body.size()) + "\n\n" + body;

    server::ServiceOptions service;
    service.now = at;
    server::FrontOptions options;
    options.access_log = false;
    server::HttpFront front(db_path, server::Service(service), options);
    const int port = front.bind("127.0.0.1", 0);
    std::thread serving([&] { front.run(); });

    // The reply once, kept as the static file of the reference.
    std::string reply;
    {
        httplib::Client client("127.0.0.1", port);
        auto res = client.Post(
            ("/cgi-bin/soft.cgi?func=get_tvprog&l=bench&p=" + md5_hex("bench") + "&a=1").c_str(),
            body, "application/octet-stream");
        if (!res || res->status != 200 || res->body.empty()) {
            std::fprintf(stderr, "bench_server: the server gave no schedule\n");
            return 1;
        }
        reply = res->body;
    }
    QFile file(dir.filePath("static/reply.bin"));
    QDir().mkpath(dir.filePath("static"));
    file.open(QIODevice::WriteOnly);
    file.write(reply.data(), qint64(reply.size()));
    file.close();

    httplib::Server reference;
    reference.new_task_queue = [] { return new httplib::ThreadPool(32); };
    reference.set_mount_point("/", dir.filePath("static").toStdString());
    const int ref_port = reference.bind_to_any_port("127.0.0.1");
    std::thread ref_serving([&] { reference.listen_after_bind(); });

    std::printf(
        "%zu channels, current week with announcements: %zu bytes a reply, %d clients, "
        "%lld s each\n",
        ids.size(), reply.size(), kClients,
        static_cast<long long>(std::chrono::seconds(kPhase).count() * kRounds));
    // "--server-only" skips the reference (for profiling the server alone).
    const bool server_only = argc > 1 && std::string(argv[1]) == "--server-only";
    Totals ref_totals{1, 0, 0, 1}, srv_totals;
    if (!server_only) ref_totals = {};
    for (int round = 0; round < kRounds; ++round) {
        if (!server_only)
            load(ref_port, "GET /reply.bin HTTP/1.0\r\nHost: zorvan.example\r\n\r\n", ref_totals);
        load(port, post, srv_totals);
    }
    const Figures ref = ref_totals.figures();
    const Figures srv = srv_totals.figures();
    print("static file (reference)", ref);
    print("zorvan-server get_tvprog", srv);
    std::printf("time per request: %.2f x the static file (target <= 1.5)\n",
                srv.ms_per_request / ref.ms_per_request);

    reference.stop();
    ref_serving.join();
    front.stop();
    serving.join();
    return 0;
}
