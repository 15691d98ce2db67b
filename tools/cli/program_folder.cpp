#include "tools/cli/program_folder.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "core/genres.h"
#include "core/program_files.h"
#include "core/time_zones.h"
#include "storage/ini_file.h"

namespace zt::cli {
namespace {

class CollectingUi final : public UserInterface {
public:
    explicit CollectingUi(std::vector<std::pair<MsgKind, std::string>>& out) : m_out(out) {}
    bool show_msg(MsgKind kind, const std::string& text) override {
        m_out.emplace_back(kind, text);
        return false;  // questions are answered "Нет": nothing is changed on disk
    }

private:
    std::vector<std::pair<MsgKind, std::string>>& m_out;
};

}  // namespace

ProgramFolder load_program_folder(const std::string& dir, std::shared_ptr<const Clock> clock) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(fs::path(dir), ec))
        throw std::runtime_error("not a program folder: " + dir);

    ProgramFolder folder;
    folder.store = std::make_unique<all_list>(std::move(clock));
    all_list& store = *folder.store;
    store.exe_dir = dir;
    if (store.exe_dir.back() != '/') store.exe_dir += '/';
    build_types(store);
    build_time_zones(store);
    set_week(store);

    const std::string ini_path = store.exe_dir + kSettingsName;
    folder.settings_found = fs::is_regular_file(fs::path(ini_path), ec);
    if (folder.settings_found) {
        const IniFile ini(ini_path);
        folder.settings.load_all(ini);
    }
    store.cur_group = folder.settings.channel_group.current;

    CollectingUi ui(folder.messages);
    NullProgress progress;
    const DataContext ctx{store, ui, progress, folder.user};
    load_data_files(ctx);

    folder.start_group = store.ensure_default_group();
    store.cur_group = -1;
    for (std::size_t i = 0; i < store.chl_groups.size(); ++i)
        if (store.chl_groups[i] == folder.start_group) store.cur_group = int(i);
    return folder;
}

ProgramFolder load_program_folder_reported(const std::string& dir,
                                           std::shared_ptr<const Clock> clock) {
    ProgramFolder folder = load_program_folder(dir, std::move(clock));
    for (const auto& [kind, text] : folder.messages)
        std::cerr << "zorvan-cli: message " << static_cast<int>(kind) << ": " << text << '\n';
    if (!folder.settings_found)
        std::cerr << "zorvan-cli: no settings.ini in the folder; default settings are used\n";
    return folder;
}

}  // namespace zt::cli
