#include "net/self_update.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <stdio.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/cp1251.h"
#include "net/protocol/text_reply.h"
#include "net/update_paths.h"

namespace zt::net {

namespace fs = std::filesystem;

namespace {

bool refuse(const UpdateContext& ctx, const std::string& what) {
    ctx.ui.show_msg(MsgKind::Error, "Недопустимый путь в сценарии обновления: \"" + what + "\".");
    return false;
}

bool ends_with(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The decimal number at the start of `text`: blanks and a sign may lead; 0 without digits.
long long leading_number(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (v > (1LL << 50)) break;  // far beyond any file we would download
        v = v * 10 + (text[i] - '0');
    }
    return negative ? -v : v;
}

// A mask as the script's platform reads it: "*.*" is every name.
bool matches(const std::string& mask, const std::string& name) {
    if (mask == "*.*") return true;
    // Only "*" and "?" are wildcards: a bracket matches itself.
    std::string pattern;
    for (char c : mask) {
        if (c == '[' || c == ']') pattern += '\\';
        pattern += c;
    }
    return ::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
}

}  // namespace

// Script texts are CP1251; file names here are UTF-8. The name goes to the server as it is.
bool UpdateGet(const UpdateContext& ctx, const std::string& name, const std::string& folder) {
    const std::string shown = to_utf8(folder + name);
    const auto path = path_in_program_folder(ctx.exe_dir, shown);
    if (!is_plain_name(name) || !path) return refuse(ctx, shown);

    const auto data = ctx.fetch.get("?func=get_file&name=" + name);
    if (!data) return false;
    const bool program = fs::path(*path).filename() == kProgramFile;
    if (ends_with(name, ".exe") && data->compare(0, 2, "MZ") != 0) {
        ctx.ui.show_msg(MsgKind::Error, "Не верный заголовок exe файла.");
        return false;
    }
    if (program && data->compare(0, 4,
                                 "\x7f"
                                 "ELF") != 0) {
        ctx.ui.show_msg(MsgKind::Error, "Не верный заголовок исполняемого файла.");
        return false;
    }
    std::error_code ec;
    fs::create_directories(fs::path(*path).parent_path(), ec);
    if (!write_file_atomic(*path, *data, program ? 0755 : 0644)) {
        ctx.ui.show_msg(MsgKind::Error,
                        "Ошибка при создании файла: \"" + ctx.exe_dir + shown + "\"");
        return false;
    }
    return true;
}

bool UpdateSize(const UpdateContext& ctx, const std::string& path_cp,
                const std::string& size_text) {
    const std::string path = to_utf8(path_cp);
    const auto full = path_in_program_folder(ctx.exe_dir, path);
    if (!full) return refuse(ctx, path);
    struct stat st {};
    // The entry itself: a link is not followed out of the program folder.
    const bool ok = ::lstat(full->c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                    (long long)st.st_size == leading_number(size_text);
    if (!ok) ctx.ui.show_msg(MsgKind::Error, "Не верный размер принятого файла.");
    return ok;
}

bool UpdateRename(const UpdateContext& ctx, const std::string& from_cp, const std::string& to_cp) {
    const std::string from = to_utf8(from_cp);
    const std::string to = to_utf8(to_cp);
    const auto old_path = path_in_program_folder(ctx.exe_dir, from);
    if (!old_path) return refuse(ctx, from);
    const auto new_path = path_in_program_folder(ctx.exe_dir, to);
    if (!new_path) return refuse(ctx, to);
    // As on the platform the script was written for, an existing target refuses the rename.
    if (::renameat2(AT_FDCWD, old_path->c_str(), AT_FDCWD, new_path->c_str(), RENAME_NOREPLACE) !=
        0) {
        ctx.ui.show_msg(MsgKind::Error, "Ошибка переименования файла: \"" + ctx.exe_dir + from +
                                            "\" в \"" + ctx.exe_dir + to + "\"");
        return false;
    }
    return true;
}

bool UpdateDelete(const UpdateContext& ctx, const std::string& mask_cp,
                  const std::string& folder_cp) {
    const std::string mask = to_utf8(mask_cp);
    const std::string folder = to_utf8(folder_cp);
    // Plain concatenation: a folder without its closing separator prefixes the mask.
    std::string combined = folder + mask;
    for (char& c : combined)
        if (c == '\\') c = '/';
    const std::size_t cut = combined.rfind('/');
    const std::string dir_part = cut == std::string::npos ? "" : combined.substr(0, cut + 1);
    const std::string name_mask = combined.substr(cut == std::string::npos ? 0 : cut + 1);
    const auto dir = folder_in_program_folder(ctx.exe_dir, dir_part);
    if (!is_plain_name(mask) || !is_plain_name(name_mask) || !dir)
        return refuse(ctx, folder + mask);

    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(*dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (!matches(name_mask, name)) continue;
        // The entry itself decides: a link is removed, never what it points to.
        if (fs::symlink_status(entry.path(), ec).type() == fs::file_type::directory) continue;
        fs::remove(entry.path(), ec);
    }
    return true;
}

bool RunUpdateScript(const UpdateContext& ctx, const std::vector<protocol::UpdateCommand>& script) {
    for (const auto& c : script) {
        bool ok = true;
        if (c.command == "GET")
            ok = UpdateGet(ctx, c.arg1, c.arg2);
        else if (c.command == "SIZE")
            ok = UpdateSize(ctx, c.arg1, c.arg2);
        else if (c.command == "RNM")
            ok = UpdateRename(ctx, c.arg1, c.arg2);
        else if (c.command == "DEL")
            ok = UpdateDelete(ctx, c.arg1, c.arg2);
        if (!ok) return false;
    }
    return true;
}

SelfUpdateResult SelfUpdate(const UpdateContext& ctx, const std::function<void()>& save_all,
                            const std::function<void()>& open_history) {
    if (save_all) save_all();
    const auto body = ctx.fetch.get("?func=update");
    if (!body) return SelfUpdateResult::exchange_failed;
    if (const auto message = protocol::read_error_reply(*body)) {
        ctx.ui.show_msg(MsgKind::Server, to_utf8(*message));
        return SelfUpdateResult::server_error;
    }
    if (!RunUpdateScript(ctx, protocol::read_update_script(*body))) {
        ctx.ui.show_msg(MsgKind::Error,
                        "Ошибка в процессе обновления программы \"ЗОРВАН. Телепрограмма\".");
        return SelfUpdateResult::script_failed;
    }
    if (ctx.ui.show_msg(MsgKind::Question,
                        "Обновление успешно выполнено. Запустите программу \"ЗОРВАН. "
                        "Телепрограмма.\" повторно. Открыть страницу с историей версий?") &&
        open_history)
        open_history();
    return SelfUpdateResult::done;
}

}  // namespace zt::net
