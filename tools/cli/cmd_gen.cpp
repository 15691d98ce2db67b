// zorvan-cli gen: writes a data folder (dat/ with u, v, t and m) for a generated store.
#include <filesystem>
#include <iostream>

#include "command.h"
#include "core/cp1251.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/text_helpers.h"
#include "core/time_zones.h"
#include "generated_store.h"
#include "storage/data_files.h"
#include "storage/legacy_layout.h"
#include "tools/cli/cli_common.h"
#include "tools/gen/schedule_generator.h"

namespace zt::cli {
namespace {

class StderrUi final : public UserInterface {
public:
    bool show_msg(MsgKind kind, const std::string& text) override {
        std::cerr << "message " << static_cast<int>(kind) << ": " << text << '\n';
        failed = failed || kind == MsgKind::Error;
        return true;
    }
    bool failed = false;
};

int run_gen(const Options& opt) {
    const std::vector<std::string>& positional = opt.positional();
    if (positional.size() != 1) {
        std::cerr << "zorvan-cli gen: give one PROGRAM_DIR\n";
        return 2;
    }
    const std::unique_ptr<all_list> generated = generated_store(opt);
    all_list& store = *generated;

    const std::filesystem::path dir(positional[0]);
    std::filesystem::create_directories(dir / "dat");
    store.exe_dir = dir.string();
    if (store.exe_dir.back() != '/') store.exe_dir += '/';

    user_account user;
    user.login = to_cp1251(opt.get("login", ""));
    if (opt.has("password")) {
        user.password = md5_hex(opt.get("password"));
        user.save_password = true;
    }
    user.paid_login = to_cp1251(opt.get("paid-login", ""));

    StderrUi ui;
    NullProgress progress;
    const DataContext ctx{store, ui, progress, user};
    if (opt.has("legacy"))
        save_legacy_files(ctx);
    else
        save_data_files(ctx, true, true, true, true);
    return ui.failed ? 1 : 0;
}

const Registrar reg(
    "gen",
    {"[--profile tiny|small|large] [--at \"yyyy-MM-dd hh:mm\"] [--seed N] "
     "[--login NAME] [--password TEXT] [--paid-login NAME] [--legacy] PROGRAM_DIR",
     {{"profile"}, {"at"}, {"seed"}, {"login"}, {"password"}, {"paid-login"}, {"legacy", false}},
     run_gen});

}  // namespace
}  // namespace zt::cli
