// With ZT_TEST_DB=postgresql every server these tests start keeps its data in a database of one
// throwaway PostgreSQL cluster instead of a SQLite file: the same tests, the other store.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "tools/peers/peers.h"
#include "tools/peers/pg_cluster.h"

namespace zt::test {
namespace {

class PostgresqlEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        const char* which = std::getenv("ZT_TEST_DB");
        if (!which || std::strcmp(which, "postgresql") != 0) return;
        if (const std::string why = peers::PgCluster::unavailable(); !why.empty()) {
            std::printf("skipped: %s\n", why.c_str());
            GTEST_SKIP() << "skipped: " << why;
        }
        m_cluster = std::make_unique<peers::PgCluster>();
        peers::use_postgresql(m_cluster.get());
        std::printf("servers keep their data in PostgreSQL on 127.0.0.1:%d\n", m_cluster->port());
    }
    void TearDown() override {
        peers::use_postgresql(nullptr);
        m_cluster.reset();
    }

private:
    std::unique_ptr<peers::PgCluster> m_cluster;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new PostgresqlEnvironment);

}  // namespace
}  // namespace zt::test
