#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <map>
#include <memory>
#include <string>

#include "tools/peers/peers.h"

namespace zt::test {

using peers::raw_exchange;
using peers::run_server_command;
using peers::ServerProcess;
using peers::split_response;

// One database for the suite: a generated small schedule for kAt, a paid account
// ivan/secret, a free account petr/qwerty and a release; one server serves it at kAt.
class ServedDatabase : public ::testing::Test {
protected:
    static constexpr const char* kAt = "2026-06-10 12:00";
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    static std::string db_path() { return s_dir->filePath("server.db").toStdString(); }
    static int port() { return s_server->port(); }
    // A request with LF line ends, as the application writes it.
    static std::string get(const std::string& target);
    static std::string post(const std::string& target, const std::string& body);
    // The response body of a GET or POST, the test failing unless the status is 200.
    static std::string get_body(const std::string& target);
    static std::string post_body(const std::string& target, const std::string& body);

    static std::unique_ptr<QTemporaryDir> s_dir;
    static std::unique_ptr<ServerProcess> s_server;
};

std::string paid_fields();  // "&l=ivan&p=" + digest

// Channel id -> stamp, as stored in the database at `db_path`.
std::map<int, std::string> stamps(const QString& db_path);

}  // namespace zt::test
