// zorvan-cli dump: loads PROGRAM_DIR/dat/ with the real loaders and prints the store as JSON.
#include <iostream>

#include "command.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "storage/data_files.h"
#include "tools/json/store_json.h"

namespace zt::cli {
namespace {

class CollectingUi final : public UserInterface {
public:
    bool show_msg(MsgKind kind, const std::string& text) override {
        messages.push_back({kind, text});
        return true;
    }
    std::vector<raised_message> messages;
};

int run_dump(const Options& opt) {
    if (opt.positional().size() != 1) {
        std::cerr << "zorvan-cli dump: give one PROGRAM_DIR\n";
        return 2;
    }
    all_list store;
    build_types(store);
    build_time_zones(store);
    store.exe_dir = opt.positional()[0];
    if (store.exe_dir.empty() || store.exe_dir.back() != '/') store.exe_dir += '/';
    CollectingUi ui;
    NullProgress progress;
    user_account user;
    const DataContext ctx{store, ui, progress, user};
    load_data_files(ctx);
    std::ios::sync_with_stdio(false);
    write_store_json(std::cout, store, user, ui.messages);
    std::cout.flush();
    return std::cout ? 0 : 1;
}

const Registrar reg("dump", {"PROGRAM_DIR", {}, run_dump});

}  // namespace
}  // namespace zt::cli
