#pragma once

#include <QSqlQuery>
#include <cstdint>
#include <map>
#include <string>

#include "core/datetime.h"
#include "core/text_helpers.h"
#include "server/database.h"
#include "server/ingest.h"
#include "tools/gen/schedule_generator.h"

namespace zt::bench {

// The serving benchmarks' database: a generated week of 50 channels ingested as at `at` and one
// paid account "bench" (password "bench"). Returns each channel's stamp by its id, as a client
// that holds the schedule sends it back.
inline std::map<std::int32_t, std::string> seed_bench_database(server::Database& db, DateTime at) {
    server::ingest_generated(db, gen::Profile{"bench", 50, 22, 48, 2}, at, 7);
    db.exec(
        "INSERT INTO accounts (login, md5, paid, balance, text1, text3) VALUES "
        "(?, ?, 1, 0, ?, ?)",
        server::blob("bench"), QString::fromStdString(md5_hex("bench")), server::empty_blob(),
        server::empty_blob());
    std::map<std::int32_t, std::string> stamps;
    QSqlQuery q = db.exec("SELECT id, stamp FROM channels ORDER BY id");
    while (q.next()) stamps[q.value(0).toInt()] = q.value(1).toString().toStdString();
    return stamps;
}

}  // namespace zt::bench
