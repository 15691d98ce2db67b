// The server's store on both kinds of database: the same ingest gives the same stamps, two
// ingests at once apply one after the other and never leave a mix, and the schema's version is
// kept, brought up to date and refused when newer than the program.
#include <QTemporaryDir>

#include <memory>
#include <thread>

#include "scale_fixture.h"
#include "server/database.h"

namespace zt::test {
namespace {

constexpr const char* kAt = "2026-06-10 12:00";

// Every channel's id and stamp, one text.
std::string stamps(const std::string& location) {
    server::Database db(QString::fromStdString(location));
    QSqlQuery q = db.exec("SELECT id, stamp FROM channels ORDER BY id");
    std::string out;
    while (q.next())
        out += std::to_string(q.value(0).toInt()) + ":" + q.value(1).toString().toStdString() + " ";
    return out;
}

int ingest(const std::string& location, int seed, std::string* out = nullptr) {
    return run({server_exe(), "ingest", "--db", location, "--generated", "small", "--at", kAt,
                "--seed", std::to_string(seed)},
               out);
}

class StoreDialects : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (std::string(GetParam()) == "sqlite") {
            m_db = m_dir.filePath("server.db").toStdString();
            return;
        }
        const std::string why = peers::PgCluster::unavailable();
        if (!why.empty()) {
            std::printf("skipped: %s\n", why.c_str());
            GTEST_SKIP() << "skipped: " << why;
        }
        m_pg = std::make_unique<peers::PgCluster>();
        m_db = m_pg->create_database();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<peers::PgCluster> m_pg;
    std::string m_db;
};

// Two different schedules ingested at the same moment: both commands succeed (the second waits
// for the first), and the database then holds one of them whole, never channels of each.
TEST_P(StoreDialects, TwoIngestsAtOnceNeverLeaveAMix) {
    const std::string one = m_dir.filePath("one.db").toStdString();
    const std::string two = m_dir.filePath("two.db").toStdString();
    ASSERT_EQ(ingest(one, 1), 0);
    ASSERT_EQ(ingest(two, 2), 0);
    const std::string stamps_one = stamps(one);
    const std::string stamps_two = stamps(two);
    ASSERT_NE(stamps_one, stamps_two);
    // The same data gives the same stamps in either kind of database.
    ASSERT_EQ(ingest(m_db, 1), 0);
    EXPECT_EQ(stamps(m_db), stamps_one);

    for (int round = 0; round < 3; ++round) {
        int rc[2] = {-1, -1};
        std::string out[2];
        std::thread a([&] { rc[0] = ingest(m_db, 2, &out[0]); });
        std::thread b([&] { rc[1] = ingest(m_db, 1 + round % 2, &out[1]); });
        a.join();
        b.join();
        EXPECT_EQ(rc[0], 0) << out[0];
        EXPECT_EQ(rc[1], 0) << out[1];
        const std::string now = stamps(m_db);
        EXPECT_TRUE(now == stamps_one || now == stamps_two) << "round " << round << ": " << now;
    }
}

// The version is kept in the database; a database without it (made before versions were kept)
// is brought up to date with its data; a newer one is refused with a message.
TEST_P(StoreDialects, SchemaVersionIsKeptAndChecked) {
    ASSERT_EQ(ingest(m_db, 1), 0);
    const std::string before = stamps(m_db);
    {
        server::Database db(QString::fromStdString(m_db));
        EXPECT_EQ(db.meta("schema_version").value_or("none").toInt(),
                  server::latest_schema_version());
        db.exec("DELETE FROM meta WHERE key = ?", QStringLiteral("schema_version"));
    }
    std::string out;
    EXPECT_EQ(run({server_exe(), "account", "--db", m_db, "--login", "a", "--password", "b"}, &out),
              0)
        << out;
    EXPECT_EQ(stamps(m_db), before);
    {
        server::Database db(QString::fromStdString(m_db));
        EXPECT_EQ(db.meta("schema_version").value_or("none").toInt(),
                  server::latest_schema_version());
        db.set_meta("schema_version", "999");
    }
    EXPECT_EQ(run({server_exe(), "ingest", "--db", m_db, "--generated", "tiny"}, &out), 1);
    EXPECT_NE(out.find("schema version 999, newer than this program's"), std::string::npos) << out;
    EXPECT_EQ(run({server_exe(), "serve", "--db", m_db, "--listen", "127.0.0.1:0"}, &out), 1);
    EXPECT_NE(out.find("newer than this program's"), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(Both, StoreDialects, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace zt::test
