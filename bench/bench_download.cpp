// A full schedule download of 300 channels x 7 days from a local zorvan-server (profile
// "large"), timed three ways in the same run:
//   plain   - the same request over a blocking socket, a plain receive loop and one zlib
//             inflate of the body: the reference;
//   exchange - HttpExchange with its labels, time-outs and cancel checks;
//   download - the whole GetTvprog: request body, exchange, applying the blocks, maintenance
//             and saving the data files.
// Then a paid user's automatic download twice, the second against the unchanged server: its
// bytes on the wire and its outcome ("Нового нет." expected).
// During the download a 5 ms timer on the event loop measures the longest time the
// user-interface thread did not get to run its events.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "app/logic/memory_tuning.h"
#include "core/genres.h"
#include "core/text_helpers.h"
#include "core/time_zones.h"
#include "net/apply_paket_list.h"
#include "net/download_session.h"
#include "net/protocol/compressed_body.h"
#include "net/protocol/schedule_request.h"
#include "net/request_head.h"
#include "tools/peers/peers.h"

namespace {

using namespace zt;

// Runs the event loop's pending events wherever the job reports progress.
class PumpingHost final : public net::DownloadHost, public net::ExchangeView {
public:
    void job_progress(int) override { QCoreApplication::processEvents(); }
    void show_labels(const net::ExchangeLabels&) override {}
};

class SilentUi final : public UserInterface {
public:
    bool show_msg(MsgKind kind, const std::string& text) override {
        std::fprintf(stderr, "message %d: %s\n", int(kind), text.c_str());
        return false;
    }
};

std::size_t inflate_every_block(const std::string& out);

// The plain reference: one blocking connection, receive until closed, inflate once; with
// `inflate_blocks` every block of the reply is then inflated too. Returns the bytes inflated
// last.
std::size_t plain_download(int port, const std::string& request, bool inflate_blocks) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(std::uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return 0;
    for (std::size_t sent = 0; sent < request.size();) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += std::size_t(n);
    }
    std::string reply;
    std::string chunk(102399, '\0');
    for (ssize_t n; (n = recv(fd, chunk.data(), chunk.size(), 0)) > 0;)
        reply.append(chunk.data(), std::size_t(n));
    close(fd);
    const std::size_t head_end = reply.find("\r\n\r\n");
    const std::string_view body = std::string_view(reply).substr(head_end + 4);
    std::string out;
    if (!protocol::is_compressed_body(body)) {
        if (!inflate_blocks) return body.size();
        out.assign(body);
        return inflate_every_block(out);
    }
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    z.avail_in = uInt(body.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        const std::size_t old = out.size();
        out.resize(old + (1 << 20));
        z.next_out = reinterpret_cast<Bytef*>(out.data() + old);
        z.avail_out = 1 << 20;
        rc = inflate(&z, Z_NO_FLUSH);
        out.resize(old + (1 << 20) - z.avail_out);
    }
    inflateEnd(&z);
    if (!inflate_blocks) return out.size();
    return inflate_every_block(out);
}

// Every block's section (a zlib stream without its two header bytes) of a schedule reply
// inflated with plain zlib into one reused buffer: type byte, channel, day (not for type 1),
// length, data.
std::size_t inflate_every_block(const std::string& out) {
    std::size_t inflated = 0;
    std::string block(1 << 20, '\0');
    z_stream b{};
    inflateInit(&b);
    static const unsigned char header[2] = {0x78, 0xDA};
    for (std::size_t at = 0; at < out.size();) {
        const auto type = std::uint8_t(out[at]);
        at += 1 + 4 + (type == 1 ? 0 : 10);
        std::uint32_t n = 0;
        std::memcpy(&n, out.data() + at, 4);
        at += 4;
        inflateReset(&b);
        b.next_in = const_cast<Bytef*>(header);
        b.avail_in = 2;
        b.next_out = reinterpret_cast<Bytef*>(block.data());
        b.avail_out = uInt(block.size());
        inflate(&b, Z_NO_FLUSH);
        b.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(out.data() + at));
        b.avail_in = n;
        for (;;) {
            const int r = inflate(&b, Z_NO_FLUSH);
            if (r != Z_OK) break;
            if (b.avail_out == 0) {
                const std::size_t used = block.size();
                block.resize(used * 2);
                b.next_out = reinterpret_cast<Bytef*>(block.data() + used);
                b.avail_out = uInt(used);
            }
        }
        inflated += b.total_out;
        at += n;
    }
    inflateEnd(&b);
    return inflated;
}

// Every channel of the server with the days held outside the week around `today`, so that the
// server sends the seven days from three days back to three days ahead.
protocol::ScheduleRequest week_request(const all_list& store, DateTime today) {
    protocol::ScheduleRequest r;
    const FormatSet f{"yyyy-MM-dd", "hh:mm", {}};
    for (const auto& c : store.channels) {
        protocol::WantedChannel w{c->id, c->stamp, {}};
        for (int d = -21; d <= 21; ++d)
            if (d < -3 || d > 3) w.days.push_back({f.formatDate(today.addDays(d)), 0, 0});
        r.channels.push_back(std::move(w));
    }
    return r;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The allocator as the program and zorvan-cli use it.
    zt::tune_allocator(false);
    std::fprintf(stderr, "preparing the server (profile large)...\n");
    peers::ServerProcess server("", "", "large");
    QTemporaryDir dir;

    // The store learns the server's 300 channels through the package list.
    auto store = std::make_unique<all_list>();
    build_types(*store);
    build_time_zones(*store);
    store->exe_dir = dir.path().toStdString() + "/";
    std::filesystem::create_directories(store->data_dir());
    user_account user;
    Settings settings;
    SilentUi ui;
    PumpingHost host;
    net::TrafficCounters traffic;
    std::uint8_t net_cancel = 0;
    net::ExchangeContext ctx(ui, host, net_cancel, traffic);
    ctx.service = server.address();
    net::DownloadSession session(*store, user, settings, ctx, host);
    if (!session.GetPakets()) return 1;
    for (const auto& p : session.selection.update_pakets)
        for (auto& e : p->channels) e.ticked = 1;
    session.controls.create_group = false;
    session.controls.anons = true;
    net::ApplySelection(*store, session.selection, false);
    session.ClearSelection();
    const auto request = week_request(*store, store->clock().today());
    const std::string body = protocol::write_schedule_request(request);
    const std::string query = "?func=get_tvprog&a=1";
    net::Route route;
    route.host = server.address();
    const std::string raw_request =
        net::build_request_head(route, "/cgi-bin/soft.cgi", query, true, body.size()) + body;

    const int rounds = 5;
    std::vector<double> plain, blocks, exchange;
    std::size_t plain_size = 0, blocks_size = 0, exchange_size = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        plain_size = plain_download(server.port(), raw_request, false);
        plain.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        blocks_size = plain_download(server.port(), raw_request, true);
        blocks.push_back(double(t.nsecsElapsed()) / 1e6);
        std::string response;
        t.restart();
        if (!net::HttpExchange(ctx, "/cgi-bin/soft.cgi", query, true, body, response,
                               net::CallSize::large))
            return 1;
        exchange.push_back(double(t.nsecsElapsed()) / 1e6);
        exchange_size = response.size();
    }

    // The whole download with the event-loop probe running.
    qint64 worst_ms = 0;
    QElapsedTimer since;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        worst_ms = std::max(worst_ms, since.elapsed() - 5);
        since.restart();
    });
    for (const auto& c : store->channels) c->dates.clear();
    for (const auto& c : store->channels)
        for (const auto& d : request.channels.front().days) c->dates.push_back({d.date, 0, 0});
    probe.start(5);
    since.start();
    QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    const auto outcome = session.GetTvprog(1);
    const double download_ms = double(t.nsecsElapsed()) / 1e6;
    QCoreApplication::processEvents();
    probe.stop();
    std::size_t programmes = 0;
    for (const auto& c : store->channels) programmes += c->tvprog.size();

    // The automatic download of a paid user: one that brings the paid level (full days with
    // announcements), then one against the unchanged server, counted on the wire (request and
    // response heads and bodies of the connection test, the login check and the schedule
    // request).
    session.controls.user_type = 1;
    session.controls.login = "paid";
    user.password = md5_hex("secret");
    const auto auto_download = [&] {
        const net::TrafficCounters before = traffic;
        net::TvprogOutcome got = net::TvprogOutcome::exchange_failed;
        if (net::ServerTest(ctx) && session.LoginCheck(1)) got = session.GetTvprog(1);
        return std::tuple{got, traffic.bytes_sent - before.bytes_sent,
                          traffic.bytes_received - before.bytes_received};
    };
    // The reference of the paid download: the same reply (every day of the three weeks, full,
    // with announcements) received over a plain socket and every block inflated, five times.
    protocol::ScheduleRequest paid_request;
    for (const auto& c : store->channels) paid_request.channels.push_back({c->id, c->stamp, {}});
    const std::string paid_body = protocol::write_schedule_request(paid_request);
    const std::string paid_query = "?func=get_tvprog&l=paid&p=" + user.password + "&a=1";
    const std::string raw_paid =
        net::build_request_head(route, "/cgi-bin/soft.cgi", paid_query, true, paid_body.size()) +
        paid_body;
    std::vector<double> paid_plain;
    std::size_t paid_inflated = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer pt;
        pt.start();
        paid_inflated = plain_download(server.port(), raw_paid, true);
        paid_plain.push_back(double(pt.nsecsElapsed()) / 1e6);
    }
    QElapsedTimer paid_timer;
    paid_timer.start();
    const auto [paid_outcome, paid_sent, paid_received] = auto_download();
    const double paid_ms = double(paid_timer.nsecsElapsed()) / 1e6;
    const auto [same_outcome, same_sent, same_received] = auto_download();

    const double p = median(plain), e = median(exchange), pb = median(blocks);
    std::printf(
        "channels %zu, inflated reply %zu bytes (plain %zu, its blocks %zu), programmes applied "
        "%zu\n",
        store->channels.size(), exchange_size, plain_size, blocks_size, programmes);
    std::printf("plain socket loop + inflate   %8.1f ms (reference)\n", p);
    std::printf("  + inflating every block     %8.1f ms (reference of the full download)\n", pb);
    std::printf("HttpExchange                  %8.1f ms  ratio %.2f (target <= 1.5)\n", e, e / p);
    std::printf(
        "full download (apply, save)   %8.1f ms  ratio %.2f of the plain loop, %.2f of "
        "receiving and inflating every block (target <= 2.0), outcome %d\n",
        download_ms, download_ms / p, download_ms / pb, int(outcome));
    std::printf("longest event-loop block      %8lld ms  (target <= 100)\n",
                static_cast<long long>(worst_ms));
    const auto outcome_text = [](net::TvprogOutcome o) {
        return o == net::TvprogOutcome::empty     ? "\"Нового нет.\""
               : o == net::TvprogOutcome::applied ? "applied"
                                                  : "failed";
    };
    const double paid_bytes = double(paid_sent + paid_received);
    const double same_bytes = double(same_sent + same_received);
    std::printf("paid automatic download       %8.0f bytes (sent %u, received %u), %s\n",
                paid_bytes, paid_sent, paid_received, outcome_text(paid_outcome));
    std::printf(
        "paid full download            %8.1f ms  plain receive + inflating every block %8.1f ms "
        "(%zu bytes inflated): ratio %.2f (target <= 2.0)\n",
        paid_ms, median(paid_plain), paid_inflated, paid_ms / median(paid_plain));
    std::printf(
        "again, server unchanged       %8.0f bytes (sent %u, received %u), %s, "
        "ratio %.4f of the one before\n",
        same_bytes, same_sent, same_received, outcome_text(same_outcome),
        same_bytes / std::max(1.0, paid_bytes));
    return 0;
}
