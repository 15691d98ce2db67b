#pragma once

#include <QString>

#include <vector>

namespace zt::server {

class Database;

// The two kinds of database the server runs on: a SQLite file (one machine) or a PostgreSQL
// server (several processes or machines on one database).
enum class Dialect { SQLite, PostgreSQL };

// One step of the schema: the statements that bring a database from `version - 1` to
// `version`. Statements are written once for both dialects; the few words that differ are
// written as tokens that sql_for() replaces:
//   {blob}           BLOB                 / BYTEA
//   {without_rowid}  " WITHOUT ROWID"     / ""
//   {rowid_column}   "" (SQLite's own)    / "rowid BIGSERIAL PRIMARY KEY, "
// so a table that needs its insertion order (marks) orders by `rowid` in both.
// A new table or column is a new migration appended to migrations(), never an edit of an old
// one: databases made by earlier versions are brought up to date step by step.
struct Migration final {
    int version;
    std::vector<const char*> statements;
};

const std::vector<Migration>& migrations();

// The version the last migration reaches.
int latest_schema_version();

// A statement of the schema in the dialect's words.
QString sql_for(Dialect dialect, const char* statement);

// Creates the tables of an empty database or brings an older one up to date, under the
// writers' lock (so that several processes starting at once migrate once). The version is kept
// in meta under "schema_version". Throws db_error when the database is newer than this program.
void migrate(Database& db);

}  // namespace zt::server
