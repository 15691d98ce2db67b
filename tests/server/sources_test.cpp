// Several guides merged into one schedule: three guides of the same channels under other ids
// and names (Russian, German, Turkish), served by a real nginx, mapped by the proposal of
// `channel suggest` and merged by `grab`; the result is checked programme by programme, then
// unchanged guides, forced re-reads and failing guides must leave it exactly as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "net/protocol/login_reply.h"
#include "net/protocol/schedule_reply.h"
#include "server/database.h"
#include "server/merge.h"
#include "server/name_match.h"
#include "server_fixture.h"
#include "tools/peers/peers.h"

namespace zt::test {
namespace {

using peers::run_server_command;
using peers::ServerProcess;

const QString kFixtures = QStringLiteral(ZT_SOURCE_DIR "/tests/server/sources/");

int free_port() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t n = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    ::close(fd);
    return ntohs(a.sin_port);
}

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(std::uint16_t(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

// nginx from the distribution, unprivileged, serving `root` on a free port of 127.0.0.1 with
// gzip for XML and its own ETag / Last-Modified handling. Its access log records the status and
// the compression ratio of every request.
class Nginx final {
public:
    Nginx(const QString& prefix, const QString& root) : m_prefix(prefix) {
        QDir().mkpath(prefix + "/tmp");
        for (int attempt = 0; attempt < 5 && m_port == 0; ++attempt) {
            const int port = free_port();
            QFile conf(prefix + "/nginx.conf");
            EXPECT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
            conf.write(
                QStringLiteral("%4worker_processes 1;\npid %1/nginx.pid;\nerror_log %1/error.log;\n"
                               "daemon off;\nevents { worker_connections 64; }\nhttp {\n"
                               "  types { application/xml xml; application/gzip gz; }\n"
                               "  log_format brief '$request_uri $status $gzip_ratio';\n"
                               "  access_log %1/access.log brief;\n"
                               "  client_body_temp_path %1/tmp; proxy_temp_path %1/tmp;\n"
                               "  fastcgi_temp_path %1/tmp; uwsgi_temp_path %1/tmp;\n"
                               "  scgi_temp_path %1/tmp;\n"
                               "  gzip on; gzip_types application/xml; gzip_min_length 1;\n"
                               "  server { listen 127.0.0.1:%2; root %3; }\n}\n")
                    .arg(prefix)
                    .arg(port)
                    .arg(root)
                    // Started by root, the workers would run as another user that
                    // cannot read the test's private folder.
                    .arg(::geteuid() == 0 ? "user root;\n" : "")
                    .toUtf8());
            conf.close();
            m_process.start(
                QStringLiteral("/usr/sbin/nginx"),
                {"-p", prefix, "-c", prefix + "/nginx.conf", "-e", prefix + "/error.log"});
            QElapsedTimer timer;
            timer.start();
            while (timer.elapsed() < 5000 && m_process.state() != QProcess::NotRunning) {
                if (accepts(port)) {
                    m_port = port;
                    break;
                }
                QThread::msleep(20);
            }
            if (m_port == 0) {
                m_process.kill();
                m_process.waitForFinished();
            }
        }
        EXPECT_NE(m_port, 0) << "nginx did not start";
    }
    ~Nginx() {
        if (m_process.state() != QProcess::NotRunning) {
            ::kill(pid_t(m_process.processId()), SIGTERM);
            if (!m_process.waitForFinished(5000)) m_process.kill();
            m_process.waitForFinished();
        }
    }
    QString url(const QString& name) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port).arg(name);
    }
    // Access-log lines since the last call.
    std::vector<std::string> requests() {
        QFile f(m_prefix + "/access.log");
        std::vector<std::string> out;
        if (!f.open(QIODevice::ReadOnly)) return out;
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (qsizetype i = m_seen; i < lines.size(); ++i)
            if (!lines[i].isEmpty()) out.push_back(lines[i].toStdString());
        m_seen = lines.size() - 1;
        return out;
    }

private:
    QString m_prefix;
    QProcess m_process;
    int m_port = 0;
    qsizetype m_seen = 0;
};

void copy(const QString& from, const QString& to) {
    QFile::remove(to);
    ASSERT_TRUE(QFile::copy(from, to));
}

void gzip(const QString& from, const QString& to) {
    QProcess p;
    p.setStandardOutputFile(to);
    p.start(QStringLiteral("gzip"), {"-c", "-n", from});
    ASSERT_TRUE(p.waitForFinished(10000));
    ASSERT_EQ(p.exitCode(), 0);
}

int server(const QStringList& args, std::string* out) {
    return run_server_command(args, out);
}

// A merged channel as "hh:mm-hh:mm source title" lines, read back from the served days.
std::vector<std::string> schedule(const QString& db_path, int channel) {
    server::Database db(db_path);
    std::map<qlonglong, std::string> names;
    QSqlQuery s = db.exec("SELECT id, name FROM sources");
    while (s.next()) names[s.value(0).toLongLong()] = s.value(1).toString().toStdString();
    std::vector<std::string> out;
    QSqlQuery q = db.exec(
        "SELECT d.progs, p.source_ids FROM days d JOIN programme_sources p ON "
        "p.channel_id = d.channel_id AND p.day = d.day WHERE d.channel_id = ? ORDER BY d.day",
        channel);
    while (q.next()) {
        const auto progs =
            protocol::decode_programmes(protocol::inflate_payload(server::bytes(q.value(0))));
        const QStringList ids = q.value(1).toString().split(u',');
        EXPECT_EQ(qsizetype(progs.size()), ids.size());
        for (std::size_t i = 0; i < progs.size() && qsizetype(i) < ids.size(); ++i)
            out.push_back(protocol::format_minute(progs[i].start).substr(11) + "-" +
                          protocol::format_minute(progs[i].finish).substr(11) + " " +
                          names[ids[qsizetype(i)].toLongLong()] + " " + to_utf8(progs[i].title));
    }
    return out;
}

std::vector<int> package_channels(const QString& db_path, const std::string& package) {
    server::Database db(db_path);
    std::vector<int> out;
    QSqlQuery q = db.exec(
        "SELECT c.channel_id FROM package_channels c JOIN packages p ON p.id = c.package_id "
        "WHERE p.name = ? ORDER BY c.pos",
        server::blob(to_cp1251(package)));
    while (q.next()) out.push_back(q.value(0).toInt());
    return out;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::map<int, std::vector<std::string>> kMerged = {
    // The national guide wins where it has programmes; the German one fills its hole from 10:00
    // to 12:00 and, its last programme having no stop, everything after 13:00. The German copy
    // of "Время покажет" runs five minutes later: the five minutes left of it are not shown.
    // The Turkish film starts inside the German guide's last programme: cut at 15:00, it keeps
    // 90 of its 120 minutes.
    {1,
     {"06:00-09:00 national Доброе утро", "09:00-10:00 national Новости",
      "10:00-12:00 german Ironie des Schicksals", "12:00-13:00 national Время покажет",
      "13:05-14:00 german Schit sdorowo", "14:00-15:00 german Abendnachrichten",
      "15:00-16:30 turkish Kino: Moskva slezam ne verit", "16:30-17:00 turkish Poleznye sovety"}},
    // The German series overlaps the national news from 10:00: cut to the hour before it. The
    // Turkish news keeps half its length after the German news ends.
    {2,
     {"09:00-10:00 german Dizi: Dirilis", "10:00-11:00 national Новости Турции",
      "11:00-12:00 national Сериал «Воскресший Эртугрул»", "12:00-13:00 german Haberler",
      "13:00-13:30 turkish Ana Haber"}},
    // Only the two lower guides have it: the Turkish one fills after the German one ends.
    {3,
     {"20:00-20:15 german Tagesschau", "20:15-21:45 german Tatort",
      "21:45-23:00 turkish Tagesthemen"}},
    // A channel only the lowest guide has keeps a channel of its own.
    {9, {"09:00-10:00 turkish Gundem"}},
};

TEST(SourcesGrab, ThreeGuidesBecomeOneScheduleAndStayWhenNothingOrSomethingFails) {
    QTemporaryDir dir;
    const QString www = dir.filePath("www");
    QDir().mkpath(www);
    copy(kFixtures + "national.xml", dir.filePath("national.xml"));
    copy(kFixtures + "german.xml", www + "/german.xml");
    gzip(kFixtures + "turkish.xml", www + "/turkish.xml.gz");
    Nginx nginx(dir.filePath("nginx"), www);
    const QString db = dir.filePath("tv.db");
    const QString at = QStringLiteral("2026-06-10 12:00");
    std::string out;

    ASSERT_EQ(server({"source", "add", "--db", db, "--name", "national", "--xmltv",
                      dir.filePath("national.xml"), "--priority", "30", "--zone", "Europe/Moscow",
                      "--package", "Эфирные"},
                     &out),
              0)
        << out;
    ASSERT_EQ(server({"source", "add", "--db", db, "--name", "german", "--xmltv",
                      nginx.url("german.xml"), "--priority", "20", "--package", "Эфирные"},
                     &out),
              0)
        << out;
    ASSERT_EQ(server({"source", "add", "--db", db, "--name", "turkish", "--xmltv",
                      nginx.url("turkish.xml.gz"), "--priority", "10", "--package", "Эфирные"},
                     &out),
              0)
        << out;
    // Two sources of one priority would make the merge depend on the order they were added.
    EXPECT_EQ(server({"source", "add", "--db", db, "--name", "other", "--xmltv", nginx.url("x.xml"),
                      "--priority", "20"},
                     &out),
              2)
        << out;

    // First grab: every guide read, each channel its own.
    ASSERT_EQ(server({"grab", "--db", db, "--at", at}, &out), 0) << out;
    EXPECT_TRUE(has(out, "source national (priority 30): read 2 channels, 5 programmes, skipped 1"))
        << out;
    EXPECT_TRUE(has(out, "source german (priority 20): read 3 channels, 10 programmes")) << out;
    EXPECT_TRUE(has(out, "source turkish (priority 10): read 4 channels, 6 programmes")) << out;
    EXPECT_TRUE(has(out, "9 channels merged")) << out;
    // The German guide came compressed in transfer, the Turkish one as a gzip file.
    const auto first_requests = nginx.requests();
    ASSERT_EQ(first_requests.size(), 2u);
    for (const std::string& r : first_requests) {
        EXPECT_TRUE(has(r, " 200 ")) << r;
        if (has(r, "german")) {
            EXPECT_FALSE(has(r, " -")) << r;
        }
    }

    // The proposal maps the lower guides' channels by their names, across scripts.
    ASSERT_EQ(server({"channel", "suggest", "--db", db}, &out), 0) << out;
    for (const char* line :
         {"source german channel trt1.de \"TRT 1\" is channel 2",
          "source german channel perwy.de \"Perwy Kanal\" is channel 1",
          "source turkish channel 101 \"TRT1 HD\" is channel 2",
          "source turkish channel 102 \"Das Erste\" is channel 3",
          "source turkish channel 103 \"Pervyj Kanal\" is channel 1", "5 proposals"})
        EXPECT_TRUE(has(out, line)) << line << "\n" << out;
    EXPECT_FALSE(has(out, "channel 104")) << out;
    ASSERT_EQ(server({"channel", "suggest", "--db", db, "--accept"}, &out), 0) << out;
    ASSERT_EQ(server({"channel", "suggest", "--db", db}, &out), 0) << out;
    EXPECT_TRUE(has(out, "nothing to propose")) << out;

    // Second grab: the guides are unchanged (nginx answers 304), the mapping is new.
    ASSERT_EQ(server({"grab", "--db", db, "--at", at}, &out), 0) << out;
    EXPECT_TRUE(has(out, "source german (priority 20): not read, HTTP 304")) << out;
    EXPECT_TRUE(has(out, "source national (priority 30): not read, the file is unchanged")) << out;
    EXPECT_TRUE(has(out, "channel 1 Первый канал: 3 from national, 3 from german, 2 from turkish"))
        << out;
    for (const std::string& r : nginx.requests()) EXPECT_TRUE(has(r, " 304 ")) << r;
    for (const auto& [channel, expected] : kMerged)
        EXPECT_EQ(schedule(db, channel), expected) << "channel " << channel;
    EXPECT_EQ(package_channels(db, "Эфирные"), (std::vector<int>{1, 2, 3, 9}));
    const auto merged_stamps = stamps(db);

    // Nothing changed: no stamp moves, whether the guides are skipped or read again.
    ASSERT_EQ(server({"grab", "--db", db, "--at", at}, &out), 0) << out;
    EXPECT_TRUE(has(out, "nothing changed")) << out;
    EXPECT_EQ(stamps(db), merged_stamps);
    ASSERT_EQ(server({"grab", "--db", db, "--at", at, "--force"}, &out), 0) << out;
    EXPECT_TRUE(has(out, "3 read") && has(out, "0 days changed, 0 stamps changed")) << out;
    EXPECT_EQ(stamps(db), merged_stamps);

    // A newer German guide without the programmes of ard.de and with one title changed: the title
    // changes channel 1 (and only its stamp), channel 3 keeps what the guide gave before.
    {
        QFile f(kFixtures + "german.xml");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray text = f.readAll();
        const qsizetype from = text.indexOf("  <programme start=\"20260610190000 +0200\"");
        const qsizetype to = text.indexOf("  <programme start=\"20260610080000 +0200\"");
        ASSERT_TRUE(from > 0 && to > from);
        text.remove(from, to - from);
        text.replace("Ironie des Schicksals", "Ironie des Schicksals (1975)");
        QFile out(www + "/german.xml");
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
    }
    ASSERT_EQ(server({"grab", "--db", db, "--at", at}, &out), 0) << out;
    EXPECT_TRUE(has(out, "source german (priority 20): read 3 channels, 8 programmes")) << out;
    EXPECT_TRUE(has(out, "1 days changed, 1 stamps changed")) << out;
    auto changed = kMerged;
    changed[1][2] = "10:00-12:00 german Ironie des Schicksals (1975)";
    for (const auto& [channel, expected] : changed)
        EXPECT_EQ(schedule(db, channel), expected) << "channel " << channel;
    auto new_stamps = stamps(db);
    EXPECT_NE(new_stamps[1], merged_stamps.at(1));
    new_stamps[1] = merged_stamps.at(1);
    EXPECT_EQ(new_stamps, merged_stamps);
    const auto changed_stamps = stamps(db);

    // Failures: the German guide is gone (404), the Turkish one is cut in the middle, and a
    // fourth guide's server accepts and never answers. Each is named, each keeps its data.
    ASSERT_TRUE(QFile::remove(www + "/german.xml"));
    QFile cut(www + "/turkish.xml.gz");
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    ASSERT_TRUE(cut.resize(cut.size() / 2));
    cut.close();
    ServerProcess silent({"--db", dir.filePath("silent.db"), "--fault", "silent", "--quiet"});
    ASSERT_EQ(server({"source", "add", "--db", db, "--name", "silent", "--xmltv",
                      QStringLiteral("http://127.0.0.1:%1/guide.xml").arg(silent.port()),
                      "--priority", "5"},
                     &out),
              0)
        << out;
    // And a guide larger than the cap of this grab (1 MB), sent gzip-coded without a length.
    {
        QFile f(www + "/big.xml");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tv>\n");
        for (int i = 0; i < 20000; ++i)
            f.write(QStringLiteral("  <channel id=\"c%1\"><display-name>Kanal %1</display-name>"
                                   "</channel>\n")
                        .arg(i)
                        .toUtf8());
        f.write("</tv>\n");
    }
    ASSERT_EQ(server({"source", "add", "--db", db, "--name", "big", "--xmltv", nginx.url("big.xml"),
                      "--priority", "3"},
                     &out),
              0)
        << out;
    ASSERT_EQ(
        server({"grab", "--db", db, "--at", at, "--deadline", "2", "--max-size-mb", "1"}, &out), 1)
        << out;
    EXPECT_TRUE(has(out, "source german (priority 20): FAILED: HTTP status 404")) << out;
    EXPECT_TRUE(has(out, "source turkish (priority 10): FAILED: ")) << out;
    EXPECT_TRUE(has(out, "source silent (priority 5): FAILED: no complete reply within 2 s"))
        << out;
    EXPECT_TRUE(has(out, "source big (priority 3): FAILED: the reply is larger than 1 MB")) << out;
    EXPECT_TRUE(has(out, "4 of 5 sources failed")) << out;
    for (const auto& [channel, expected] : changed)
        EXPECT_EQ(schedule(db, channel), expected) << "channel " << channel;
    EXPECT_EQ(stamps(db), changed_stamps);

    ASSERT_EQ(server({"source", "list", "--db", db}, &out), 0) << out;
    EXPECT_TRUE(has(out, "last read FAILED: HTTP status 404")) << out;
    ASSERT_EQ(server({"channel", "show", "--db", db, "--channel", "1"}, &out), 0) << out;
    EXPECT_TRUE(has(out, "2026-06-10 10:00-12:00\tgerman\tIronie des Schicksals (1975)")) << out;
}

TEST(SourcesGrab, ServingProcessGrabsOnItsOwn) {
    QTemporaryDir dir;
    const QString db = dir.filePath("tv.db");
    std::string out;
    ASSERT_EQ(server({"source", "add", "--db", db, "--name", "national", "--xmltv",
                      kFixtures + "national.xml", "--priority", "1", "--zone", "Europe/Moscow"},
                     &out),
              0)
        << out;
    ServerProcess serving(
        {"--db", db, "--grab-every", "1h", "--quiet", "--at", "2026-06-10 12:00"});
    // The grab's first run stores the source's read; the log shows it once the server ends.
    QElapsedTimer timer;
    timer.start();
    auto read_once = [&] {
        server::Database check(db);
        QSqlQuery q = check.exec("SELECT last_good FROM sources");
        return q.next() && !q.value(0).toString().isEmpty();
    };
    while (!read_once() && timer.elapsed() < 20000) QThread::msleep(50);
    QThread::msleep(300);
    EXPECT_EQ(serving.stop(), 0);
    const std::string log = serving.log();
    EXPECT_TRUE(has(log, "zorvan-server: grab: source national (priority 1): read 2 channels"))
        << log;
    EXPECT_TRUE(has(log, "zorvan-server: grab ended")) << log;
    EXPECT_EQ(schedule(db, 1), (std::vector<std::string>{"06:00-09:00 national Доброе утро",
                                                         "09:00-10:00 national Новости",
                                                         "12:00-13:00 national Время покажет"}));
}

// The night clocks go back: the hour from 02:00 to 03:00 comes twice. A programme from 02:30
// summer time to 02:30 winter time lasts an hour though its wall-clock times are equal; it is
// kept with its length, and the repeated starts get ids of their own.
TEST(SourcesGrab, ProgrammesAcrossTheRepeatedHourKeepTheirLength) {
    QTemporaryDir dir;
    const QString db = dir.filePath("tv.db");
    QFile f(dir.filePath("night.xml"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tv>\n"
        "<channel id=\"n\"><display-name>Nacht</display-name></channel>\n"
        "<programme start=\"20261025000000 +0000\" stop=\"20261025003000 +0000\" channel=\"n\">"
        "<title>Eins</title></programme>\n"
        "<programme start=\"20261025003000 +0000\" stop=\"20261025013000 +0000\" channel=\"n\">"
        "<title>Zwei</title></programme>\n"
        "<programme start=\"20261025013000 +0000\" stop=\"20261025020000 +0000\" channel=\"n\">"
        "<title>Drei</title></programme>\n</tv>\n");
    f.close();
    std::string out;
    ASSERT_EQ(server({"source", "add", "--db", db, "--name", "night", "--xmltv", f.fileName(),
                      "--priority", "1", "--zone", "Europe/Berlin"},
                     &out),
              0)
        << out;
    ASSERT_EQ(server({"grab", "--db", db, "--at", "2026-10-25 12:00"}, &out), 0) << out;
    EXPECT_EQ(schedule(db, 1),
              (std::vector<std::string>{"02:00-02:30 night Eins", "02:30-03:30 night Zwei",
                                        "02:30-03:00 night Drei"}));
}

// The merge rule on its own: a table of layers and the schedule they give.
TEST(SourcesMerge, HigherWinsLowerFillsCutAtNeighbours) {
    auto p = [](std::int64_t from, std::int64_t to, const char* title) {
        return server::SourceProgramme{from * 60, to * 60, title, "", -1, -1, -1};
    };
    struct Case final {
        const char* what;
        std::vector<server::Layer> layers;
        std::vector<std::string> expected;  // "from-to title@source" in minutes
    };
    const std::vector<Case> cases = {
        {"a hole in the higher guide is filled exactly",
         {{1, 10, {p(0, 60, "A1"), p(120, 180, "A2")}},
          {2, 5, {p(0, 60, "B1"), p(60, 120, "B2"), p(120, 180, "B3")}}},
         {"0-60 A1@1", "60-120 B2@2", "120-180 A2@1"}},
        {"a lower programme over a neighbour is cut, kept when at least half remains",
         {{1, 10, {p(0, 60, "A1")}}, {2, 5, {p(30, 90, "B1"), p(90, 200, "B2")}}},
         {"0-60 A1@1", "60-90 B1@2", "90-200 B2@2"}},
        {"less than half left: left out",
         {{1, 10, {p(0, 60, "A1")}}, {2, 5, {p(5, 65, "B1")}}},
         {"0-60 A1@1"}},
        {"a programme across two holes keeps only its longer piece",
         {{1, 10, {p(40, 50, "A1")}}, {2, 5, {p(0, 60, "B1")}}},
         {"0-40 B1@2", "40-50 A1@1"}},
        {"three guides: the third fills what the first two leave",
         {{3, 1, {p(100, 160, "C1")}}, {1, 10, {p(0, 60, "A1")}}, {2, 5, {p(60, 100, "B1")}}},
         {"0-60 A1@1", "60-100 B1@2", "100-160 C1@3"}},
        {"equal priorities: the lower source id wins, whatever the order given",
         {{7, 5, {p(0, 60, "X")}}, {3, 5, {p(0, 60, "Y")}}},
         {"0-60 Y@3"}},
        {"a piece under a minute is no programme",
         {{1, 10, {server::SourceProgramme{0, 3570, "A1", "", -1, -1, -1}}},
          {2, 5, {server::SourceProgramme{3540, 3600, "B1", "", -1, -1, -1}}}},
         {"0-59 A1@1"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        for (const auto& m : server::merge_layers(c.layers))
            got.push_back(std::to_string(m.programme.start / 60) + "-" +
                          std::to_string(m.programme.finish / 60) + " " + m.programme.title + "@" +
                          std::to_string(m.source_id));
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

TEST(SourcesNames, OneChannelUnderItsNamesInSeveralGuidesGivesOneKey) {
    const std::vector<std::vector<const char*>> same = {
        {"Первый канал", "Pervyj Kanal", "PERVIY KANAL HD", "Perwy Kanal", "Первый Канал SD"},
        {"Россия 1", "Rossija 1", "Rossiya 1 HD", "ROSSIYA1"},
        {"TRT 1", "ТРТ 1", "TRT1 HD", "trt-1"},
        {"Das Erste", "DAS ERSTE HD", "Дас Эрсте"},
        {"Kanal D", "Канал Д"},
        {"Sat.1 Gold", "SAT 1 GOLD"},
        {"Звезда", "Zvezda"},
    };
    for (const auto& names : same)
        for (const char* name : names)
            EXPECT_EQ(server::channel_name_key(to_cp1251(name)),
                      server::channel_name_key(to_cp1251(names.front())))
                << name;
    // Time-shifted copies and other channels stay apart.
    const std::vector<std::pair<const char*, const char*>> apart = {
        {"Первый канал", "Первый канал +4"},
        {"TRT 1", "TRT Haber"},
        {"HD", "SD"},
        {"Россия 1", "Россия 24"}};
    for (const auto& [a, b] : apart)
        EXPECT_NE(server::channel_name_key(to_cp1251(a)), server::channel_name_key(to_cp1251(b)))
            << a << " / " << b;
}

}  // namespace
}  // namespace zt::test
