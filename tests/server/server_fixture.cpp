#include "server_fixture.h"

#include <QFile>
#include <QSqlQuery>

#include "core/text_helpers.h"
#include "server/database.h"

namespace zt::test {

std::unique_ptr<QTemporaryDir> ServedDatabase::s_dir;
std::unique_ptr<ServerProcess> ServedDatabase::s_server;

std::string paid_fields() {
    return "&l=ivan&p=" + md5_hex("secret");
}

void ServedDatabase::SetUpTestSuite() {
    s_dir = std::make_unique<QTemporaryDir>();
    const QString db = s_dir->filePath("server.db");
    ASSERT_EQ(run_server_command({"ingest", "--db", db, "--generated", "small", "--at", kAt}), 0);
    ASSERT_EQ(run_server_command({"account", "--db", db, "--login", "ivan", "--password", "secret",
                                  "--paid", "--balance", "12345"}),
              0);
    ASSERT_EQ(
        run_server_command({"account", "--db", db, "--login", "petr", "--password", "qwerty"}), 0);
    QFile script(s_dir->filePath("script.txt"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("RNM\tzorvan_tv\told_zorvan_tv\nGET\tzorvan_tv\t\n");
    script.close();
    QFile exe(s_dir->filePath("zorvan_tv"));
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.write(
        "\x7f"
        "ELF new program");
    exe.close();
    ASSERT_EQ(run_server_command({"release", "--db", db, "--version", "2011010101", "--script",
                                  script.fileName(), "--files", s_dir->path()}),
              0);
    s_server = std::make_unique<ServerProcess>(QStringList{"--db", db, "--at", kAt});
}

void ServedDatabase::TearDownTestSuite() {
    // SIGTERM ends the server cleanly.
    EXPECT_EQ(s_server->stop(), 0) << s_server->log();
    s_server.reset();
    s_dir.reset();
}

std::string ServedDatabase::get(const std::string& target) {
    return raw_exchange(port(), "GET " + target +
                                    " HTTP/1.0\nHost: zorvan.example\nAccept: */*\nPragma: "
                                    "no-cache\nCache-Control: no-cache\n\n");
}

std::string ServedDatabase::post(const std::string& target, const std::string& body) {
    return raw_exchange(port(), "POST " + target +
                                    " HTTP/1.0\nHost: zorvan.example\nAccept: */*\nPragma: "
                                    "no-cache\nCache-Control: no-cache\nContent-length: " +
                                    std::to_string(body.size()) + "\n\n" + body);
}

std::string ServedDatabase::get_body(const std::string& target) {
    const auto r = split_response(get(target));
    EXPECT_NE(r.status_line.find(" 200 OK"), std::string::npos) << target << ": " << r.head;
    return r.body;
}

std::string ServedDatabase::post_body(const std::string& target, const std::string& body) {
    const auto r = split_response(post(target, body));
    EXPECT_NE(r.status_line.find(" 200 OK"), std::string::npos) << target << ": " << r.head;
    return r.body;
}

std::map<int, std::string> stamps(const QString& db_path) {
    server::Database db(db_path);
    std::map<int, std::string> out;
    QSqlQuery q = db.exec("SELECT id, stamp FROM channels");
    while (q.next()) out[q.value(0).toInt()] = q.value(1).toString().toStdString();
    return out;
}

}  // namespace zt::test
