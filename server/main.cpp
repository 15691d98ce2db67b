// zorvan-server: the service's server. Subcommands: serve, ingest, account, release.
#include <QCoreApplication>

#include <malloc.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "server/commands.h"

namespace {

const char* kUsage =
    "usage (DB: a SQLite file or postgresql://user@host:port/dbname):\n"
    "  zorvan-server serve --db DB --listen HOST:PORT [--files DIR] [--fault MODE]\n"
    "  zorvan-server ingest --db DB --generated PROFILE [--at \"yyyy-MM-dd hh:mm\"] [--seed N]\n"
    "  zorvan-server ingest --db DB --xmltv PATH [--package NAME] [--zone IANA_ZONE]\n"
    "                      [--genre-map FILE]\n"
    "  zorvan-server account --db DB --login L --password P [--paid] [--balance KOPECKS]\n"
    "                        [--text1 T] [--text3 T]\n"
    "  zorvan-server release --db DB --version CODE --script FILE [--files DIR]\n";

}  // namespace

int main(int argc, char** argv) {
    // Replies are buffers of a megabyte or so made for every request: kept in the heap for the
    // next request instead of being mapped and unmapped (and faulted in) each time.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "serve") return zt::server::cmd_serve(args);
        if (command == "ingest") return zt::server::cmd_ingest(args);
        if (command == "account") return zt::server::cmd_account(args);
        if (command == "release") return zt::server::cmd_release(args);
        std::fputs(kUsage, stderr);
        return 2;
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "zorvan-server: %s\n%s", e.what(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorvan-server: %s\n", e.what());
        return 1;
    }
}
