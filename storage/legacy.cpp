#include "storage/legacy.h"

#include <fstream>

#include "storage/data_internal.h"

namespace zt {
namespace {

class Silent final : public UserInterface {
public:
    bool show_msg(MsgKind, const std::string&) override { return false; }
};

// Whether both old files read without damage, tried on a scratch store: a damaged file is not
// converted into a clean, emptier one (the normal loaders read version 1 and report it).
bool both_readable(const DataContext& ctx) {
    all_list scratch;
    scratch.exe_dir = ctx.store.exe_dir;
    Silent silent;
    NullProgress none;
    user_account user = ctx.user;
    const DataContext trial(scratch, silent, none, user, ctx.files);
    return load_u(trial) && load_t(trial);
}

}  // namespace

bool legacy_files_present(const DataContext& ctx) {
    const auto version = [&ctx](const char* name) {
        char head[4] = {};
        std::ifstream in(ctx.store.data_dir() + name, std::ios::binary);
        if (!in.read(head, sizeof head)) return std::int32_t(0);
        return FieldReader(std::string_view(head, sizeof head)).Int32();
    };
    return version("u.dat") == 1 && version("t.dat") == 1;
}

bool convert_legacy(const DataContext& ctx) {
    // The versions from the files' first bytes: every start asks, and t.dat is large.
    if (!legacy_files_present(ctx) || !both_readable(ctx)) return false;

    ctx.ui.show_msg(MsgKind::Info,
                    "Сейчас будет произведено преобразование файлов данных в новый формат. "
                    "Пожалуйста, дождитесь завершения операции.");
    if (ctx.job_caption) ctx.job_caption("Загрузка данных...");
    load_u(ctx);
    load_t(ctx);
    if (ctx.job_caption) ctx.job_caption("Сохранение данных...");
    save_data_files(ctx, true, true, true, true);
    if (ctx.job_end) ctx.job_end();
    ctx.ui.show_msg(MsgKind::Info, "Спасибо, операция завершена. Запустите программу повторно.");
    return true;
}

}  // namespace zt
