// zorvan-cli export-import-file: writes a ".zorvan_tv" import file from a program folder's
// data or from the server's database.
#include <iostream>

#include "command.h"
#include "net/import_export.h"
#include "net/protocol/import_layout.h"
#include "net/update_paths.h"
#include "server/database.h"
#include "server/service.h"
#include "tools/cli/program_folder.h"

namespace zt::cli {
namespace {

// What the server would offer: its package list and every stored day of every channel.
std::string import_file_of_database(const std::string& path) {
    server::Database db(QString::fromStdString(path));
    const auto list = protocol::read_paket_list(server::Service({}).get_paket(db).body);
    std::vector<protocol::ImportDay> days;
    QSqlQuery q = db.exec("SELECT channel_id, day, progs FROM days ORDER BY channel_id, day");
    while (q.next())
        days.push_back(
            {q.value(0).toInt(), q.value(1).toString().toStdString(),
             protocol::decode_programmes(protocol::inflate_payload(server::bytes(q.value(2))))});
    return protocol::write_import_file(list, days);
}

int run_export(const Options& opt) {
    if (opt.positional().size() != 1 || opt.has("dir") == opt.has("db")) {
        std::cerr << "zorvan-cli export-import-file: give OUT_FILE and --dir or --db\n";
        return 2;
    }
    std::string file;
    if (opt.has("db")) {
        file = import_file_of_database(opt.get("db"));
    } else {
        const ProgramFolder folder =
            load_program_folder(opt.get("dir"), std::make_shared<SystemClock>());
        for (const auto& [kind, text] : folder.messages) std::cerr << text << '\n';
        file = net::import_file_of_store(*folder.store);
    }
    if (!net::write_file_atomic(opt.positional()[0], file, 0644)) {
        std::cerr << "zorvan-cli export-import-file: cannot write " << opt.positional()[0] << '\n';
        return 1;
    }
    std::cout << "wrote " << file.size() << " bytes\n";
    return 0;
}

const Registrar reg("export-import-file",
                    {"OUT_FILE --dir PROGRAM_DIR | --db SERVER_DB", {{"dir"}, {"db"}}, run_export});

}  // namespace
}  // namespace zt::cli
