#include "server/commands.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "core/clock.h"
#include "core/cp1251.h"
#include "core/format_set.h"
#include "core/text_helpers.h"
#include "net/protocol/login_reply.h"
#include "net/protocol/update_script.h"
#include "server/database.h"
#include "server/grab.h"
#include "server/http_front.h"
#include "server/ingest.h"

namespace zt::server {

Options::Options(const std::vector<std::string>& args, const std::vector<std::string>& with_value,
                 const std::vector<std::string>& flags) {
    QCommandLineParser parser;
    // Every option is a long one; a single dash does not start a bundle of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const std::string& name : with_value) {
        const QString q = QString::fromStdString(name);
        parser.addOption(QCommandLineOption(q, QString(), q));
    }
    for (const std::string& name : flags)
        parser.addOption(QCommandLineOption(QString::fromStdString(name)));
    QStringList list{QStringLiteral("zorvan-server")};
    for (const std::string& a : args) list << QString::fromStdString(a);
    if (!parser.parse(list)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            // Named as it was written.
            const std::string name = unknown.first().toStdString();
            for (const std::string& a : args) {
                const std::size_t from = a.find_first_not_of('-');
                if (from != 0 && from != std::string::npos &&
                    a.substr(from, a.find('=') - from) == name)
                    throw std::invalid_argument("unknown option " + a);
            }
            throw std::invalid_argument("unknown option --" + name);
        }
        // A value can be missing only after the last argument.
        if (!args.empty() && args.back().rfind("-", 0) == 0) {
            const std::string name = args.back().substr(args.back().find_first_not_of('-'));
            if (std::find(with_value.begin(), with_value.end(), name) != with_value.end())
                throw std::invalid_argument("--" + name + " needs a value");
        }
        throw std::invalid_argument(parser.errorText().toStdString());
    }
    // A bare word is no option of these commands.
    const QStringList words = parser.positionalArguments();
    if (!words.isEmpty())
        throw std::invalid_argument("unknown option " + words.first().toStdString());
    for (const std::string& name : with_value)
        if (parser.isSet(QString::fromStdString(name)))
            m_values[name] = parser.value(QString::fromStdString(name)).toStdString();
    for (const std::string& name : flags)
        if (parser.isSet(QString::fromStdString(name))) m_values[name] = "1";
}

std::string Options::get(const std::string& name, const std::string& def) const {
    auto it = m_values.find(name);
    return it == m_values.end() ? def : it->second;
}

std::string Options::need(const std::string& name) const {
    if (!has(name)) throw std::invalid_argument("--" + name + " is required");
    return get(name);
}

namespace {

QString path_of(const std::string& s) {
    return QString::fromStdString(s);
}

DateTime parse_at(const std::string& text) {
    const auto t = protocol::parse_minute(text);
    if (!t) throw std::invalid_argument("--at wants \"yyyy-MM-dd hh:mm\", got: " + text);
    return *t;
}

long parse_number(const std::string& name, const std::string& text) {
    std::size_t used = 0;
    long v = 0;
    try {
        v = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty())
        throw std::invalid_argument("--" + name + " wants a number, got: " + text);
    return v;
}

// Serving ends on SIGTERM, SIGINT or SIGHUP: the signals are blocked in every thread and one
// thread waits for them.
sigset_t end_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

// Every connection being read holds a descriptor: the soft limit (often 1,024) is raised to
// the hard one so that the gate's own limit on connections is the one that holds.
void raise_descriptor_limit() {
    rlimit lim{};
    if (::getrlimit(RLIMIT_NOFILE, &lim) == 0 && lim.rlim_cur < lim.rlim_max) {
        lim.rlim_cur = lim.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &lim);
    }
}

constexpr int kEndSeconds = 10;  // the longest a stop waits for the requests in hand

}  // namespace

int cmd_serve(const std::vector<std::string>& args) {
    const Options opt(args, {"db", "listen", "files", "fault", "at", "threads", "grab-every"},
                      {"quiet"});
    const QString db_path = path_of(opt.need("db"));
    const std::string listen = opt.need("listen");
    const std::size_t colon = listen.rfind(':');
    if (colon == std::string::npos) throw std::invalid_argument("--listen wants HOST:PORT");
    const std::string host = listen.substr(0, colon);
    const int port = int(parse_number("listen", listen.substr(colon + 1)));
    const auto fault = parse_fault(opt.get("fault", "none"));
    if (!fault) throw std::invalid_argument("unknown fault mode " + opt.get("fault"));
    const std::chrono::seconds grab_every =
        opt.has("grab-every") ? parse_duration(opt.get("grab-every")) : std::chrono::seconds(0);

    { Database schema(db_path); }  // creates the tables before the first request
    ServiceOptions service;
    service.files_dir = path_of(opt.get("files"));
    if (opt.has("at")) service.now = parse_at(opt.get("at"));
    FrontOptions front_options;
    front_options.fault = *fault;
    front_options.access_log = !opt.has("quiet");
    if (opt.has("threads"))
        front_options.threads = int(parse_number("threads", opt.get("threads")));

    raise_descriptor_limit();
    const sigset_t ends = end_signals();
    pthread_sigmask(SIG_BLOCK, &ends, nullptr);
    HttpFront front(db_path, Service(service), front_options);
    const int bound = front.bind(host, port);
    if (bound < 0) {
        std::fprintf(stderr, "zorvan-server: cannot listen on %s\n", listen.c_str());
        return 1;
    }
    std::fprintf(stderr, "zorvan-server: listening on %s:%d\n", host.c_str(), bound);
    std::fflush(stderr);
    // The sources are grabbed in this process when asked (grab.h); it ends before the front.
    std::unique_ptr<PeriodicGrab> grabs;
    if (grab_every.count() > 0) {
        std::optional<std::int64_t> grab_now;
        if (service.now) grab_now = service.now->seconds() - 25569LL * 86400;  // --at, as UTC
        grabs = std::make_unique<PeriodicGrab>(db_path, grab_every, grab_now);
    }
    std::atomic<bool> done{false};
    std::thread waiter([&] {
        const timespec step{0, 200 * 1000 * 1000};
        while (!done) {
            if (sigtimedwait(&ends, nullptr, &step) > 0) {
                front.stop();
                // Every wait of a worker ends at a stop; should one not, the server ends anyway.
                for (int i = 0; i < kEndSeconds * 5 && !done; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(200));
                if (!done) {
                    std::fprintf(stderr,
                                 "zorvan-server: requests still running %d s after the stop; "
                                 "ended without them\n",
                                 kEndSeconds);
                    std::fflush(stderr);
                    std::_Exit(1);
                }
                return;
            }
        }
    });
    const bool ok = front.run();
    grabs.reset();
    done = true;
    waiter.join();
    std::fprintf(stderr, "zorvan-server: stopped\n");
    return ok ? 0 : 1;
}

int cmd_ingest(const std::vector<std::string>& args) {
    const Options opt(
        args, {"db", "generated", "at", "seed", "xmltv", "package", "zone", "genre-map"}, {});
    Database db(path_of(opt.need("db")));
    IngestResult r;
    if (opt.has("generated")) {
        const DateTime at = opt.has("at") ? parse_at(opt.get("at")) : SystemClock().now();
        r = ingest_generated(db, gen::profile_by_name(opt.get("generated")), at,
                             std::uint32_t(parse_number("seed", opt.get("seed", "1"))));
    } else if (opt.has("xmltv")) {
        QTimeZone zone = QTimeZone::systemTimeZone();
        if (opt.has("zone")) {
            zone = QTimeZone(QByteArray::fromStdString(opt.get("zone")));
            if (!zone.isValid())
                throw std::invalid_argument("unknown time zone " + opt.get("zone"));
        }
        r = ingest_xmltv(db, path_of(opt.get("xmltv")), to_cp1251(opt.get("package", "XMLTV")),
                         zone, opt.has("genre-map") ? path_of(opt.get("genre-map")) : QString());
    } else {
        throw std::invalid_argument("ingest needs --generated PROFILE or --xmltv PATH");
    }
    if (!r.ok) {
        std::fprintf(stderr, "zorvan-server: %s\n", r.message.c_str());
        return 1;
    }
    std::printf("ingested %lld channels, %lld days changed", static_cast<long long>(r.channels),
                static_cast<long long>(r.days_changed));
    if (opt.has("xmltv")) std::printf(", %lld programmes", static_cast<long long>(r.programmes));
    std::printf("\n");
    if (!r.message.empty()) std::printf("%s\n", r.message.c_str());
    return 0;
}

int cmd_account(const std::vector<std::string>& args) {
    const Options opt(args, {"db", "login", "password", "balance", "text1", "text3"}, {"paid"});
    Database db(path_of(opt.need("db")));
    const std::string login = to_cp1251(opt.need("login"));
    if (login.empty()) throw std::invalid_argument("--login must not be empty");
    const long balance = parse_number("balance", opt.get("balance", "0"));
    db.exec(
        "INSERT INTO accounts (login, md5, paid, balance, text1, text3) VALUES (?, ?, ?, ?, ?, "
        "?) ON CONFLICT(login) DO UPDATE SET md5 = excluded.md5, paid = excluded.paid, "
        "balance = excluded.balance, text1 = excluded.text1, text3 = excluded.text3",
        blob(login), QString::fromStdString(md5_hex(to_cp1251(opt.need("password")))),
        opt.has("paid") ? 1 : 0, qlonglong(balance), blob(to_cp1251(opt.get("text1"))),
        blob(to_cp1251(opt.get("text3"))));
    std::printf("account %s (%s)\n", opt.get("login").c_str(), opt.has("paid") ? "paid" : "free");
    return 0;
}

int cmd_release(const std::vector<std::string>& args) {
    const Options opt(args, {"db", "version", "script", "files"}, {});
    Database db(path_of(opt.need("db")));
    QFile script(path_of(opt.need("script")));
    if (!script.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + opt.get("script"));
    const QByteArray text = script.readAll();
    Transaction tx(db, Transaction::Kind::Writer);
    // Every file the script downloads is taken into the database now.
    for (const auto& c : protocol::read_update_script(text.toStdString())) {
        if (c.command != "GET") continue;
        QFile f(QDir(path_of(opt.get("files", "."))).filePath(QString::fromStdString(c.arg1)));
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("the script downloads " + c.arg1 +
                                     ", which is not in --files");
        db.exec(
            "INSERT INTO files (name, data) VALUES (?, ?) ON CONFLICT(name) DO UPDATE SET "
            "data = excluded.data",
            QString::fromStdString(c.arg1), f.readAll());
    }
    db.set_meta("version", QByteArray::fromStdString(opt.need("version")));
    db.set_meta("script", text);
    tx.commit();
    std::printf("release %s\n", opt.get("version").c_str());
    return 0;
}

}  // namespace zt::server
