// zorvan-server: the service's server. Subcommands: serve, ingest, account, release, source,
// channel, grab.
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
    "                      [--grab-every DURATION]\n"
    "  zorvan-server ingest --db DB --generated PROFILE [--at \"yyyy-MM-dd hh:mm\"] [--seed N]\n"
    "  zorvan-server ingest --db DB --xmltv PATH [--package NAME] [--zone IANA_ZONE]\n"
    "                      [--genre-map FILE]\n"
    "  zorvan-server account --db DB --login L --password P [--paid] [--balance KOPECKS]\n"
    "                        [--text1 T] [--text3 T]\n"
    "  zorvan-server release --db DB --version CODE --script FILE [--files DIR]\n"
    "  zorvan-server source add --db DB --name NAME --xmltv PATH_OR_URL --priority N\n"
    "                          [--zone IANA_ZONE] [--package NAME] [--genre-map FILE]\n"
    "  zorvan-server source list --db DB\n"
    "  zorvan-server source remove --db DB NAME\n"
    "  zorvan-server channel map --db DB --source NAME --xmltv-id ID --channel NUMBER|own\n"
    "  zorvan-server channel suggest --db DB [--accept]\n"
    "  zorvan-server channel list --db DB\n"
    "  zorvan-server channel show --db DB --channel NUMBER [--day yyyy-MM-dd]\n"
    "                             [--from yyyy-MM-dd] [--to yyyy-MM-dd]\n"
    "  zorvan-server grab --db DB [--force] [--at \"yyyy-MM-dd hh:mm\"] [--max-size-mb N]\n"
    "                     [--deadline SECONDS] [--keep-days N]\n";

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
        if (command == "source") return zt::server::cmd_source(args);
        if (command == "channel") return zt::server::cmd_channel(args);
        if (command == "grab") return zt::server::cmd_grab(args);
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
