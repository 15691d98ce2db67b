#include "storage/data_files.h"

#include <algorithm>
#include <fstream>

#include "core/cp1251.h"
#include "storage/data_internal.h"
#include "storage/section.h"

namespace zt {
namespace {

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

}  // namespace

std::optional<std::string> open_data_file(const DataContext& ctx, const std::string& name) {
    bool failed = false;
    return data::open_file(ctx, name, failed);
}

bool save_data_file(const DataContext& ctx, std::string body, const std::string& name,
                    const std::string& bak, std::int32_t version) {
    DeflateSection(body, &ctx.progress);
    return data::write_file(ctx, std::move(body), name, bak, version);
}

namespace data {

bool write_file(const DataContext& ctx, std::string body, const std::string& name,
                const std::string& bak, std::int32_t version) {
    std::string file;
    file.reserve(body.size() + 4);
    FieldWriter(file).Int32(version);
    file += body;
    body = std::string();

    if (!replace_file(ctx.fs(), ctx.store.data_dir() + name, file, ctx.store.data_dir() + bak)) {
        ctx.ui.show_msg(MsgKind::Error, "Ошибка при создании файла данных: " + quoted(name));
        return false;
    }
    return true;
}

}  // namespace data

namespace {

// The version a data file starts with; 0 when it is missing or shorter than a version.
std::int32_t version_of(const DataContext& ctx, const char* name) {
    char head[4] = {};
    std::ifstream in(ctx.store.data_dir() + name, std::ios::binary);
    if (!in.read(head, sizeof head)) return 0;
    return FieldReader(std::string_view(head, sizeof head)).Int32();
}

// v.dat or m.dat where it may be missing: the program writes both at every exit once u.dat and
// t.dat of the current version exist (version 1 files carried the favourites and marks
// themselves), so beside those two a missing one was lost, not yet to be made. Its backup, the
// generation before, is then read in its place (the exit writes the file anew and the backup
// stays); without a backup the user is told that the records are gone.
bool load_user_file(const DataContext& ctx, const char* name, const char* bak,
                    bool (*load)(const DataContext&, const char*)) {
    const std::string dir = ctx.store.data_dir();
    FileSystem& fs = ctx.fs();
    if (fs.exists(dir + name) || version_of(ctx, "u.dat") != kDataVersion ||
        version_of(ctx, "t.dat") != kDataVersion)
        return load(ctx, name);
    if (!fs.exists(dir + bak)) {
        ctx.ui.show_msg(MsgKind::Error, "Файл данных " + quoted(name) +
                                            " не найден, его резервной копии " + quoted(bak) +
                                            " тоже нет.");
        return true;
    }
    ctx.ui.show_msg(MsgKind::Error, "Файл данных " + quoted(name) +
                                        " не найден. Данные прочитаны из его резервной копии " +
                                        quoted(bak) + ".");
    return load(ctx, bak);
}

}  // namespace

LoadResults load_each_data_file(const DataContext& ctx) {
    LoadResults r;
    r.u = load_u(ctx);
    r.v = load_user_file(ctx, "v.dat", "v.bak", data::load_v_file);
    r.t = load_t(ctx);
    r.m = load_user_file(ctx, "m.dat", "m.bak", data::load_m_file);
    return r;
}

bool load_data_files(const DataContext& ctx) {
    return load_each_data_file(ctx).all();
}

bool save_data_files(const DataContext& ctx, bool u, bool v, bool t, bool m) {
    bool ok = true;
    if (u) ok = save_u(ctx) && ok;
    if (v && ctx.write_favourites) ok = save_v(ctx) && ok;
    if (t) ok = save_t(ctx) && ok;
    if (m && ctx.write_marks) ok = save_m(ctx) && ok;
    return ok;
}

bool save_u(const DataContext& ctx) {
    return save_data_file(ctx, build_u_body(ctx), "u.dat", "u.bak");
}
bool save_v(const DataContext& ctx) {
    return save_data_file(ctx, build_v_body(ctx), "v.dat", "v.bak");
}
bool save_t(const DataContext& ctx) {
    // The largest body (pictures make up most of it) is compressed a part at a time while the
    // next part is written, never held whole.
    SectionDeflater deflater;
    std::string part;
    part.reserve(SectionDeflater::kPart + SectionDeflater::kPart / 4);
    data::write_t_body(ctx, data::TLayout::current, part,
                       [&deflater](std::string& done) { deflater.add(std::move(done)); });
    return data::write_file(ctx, deflater.finish(), "t.dat", "t.bak");
}
bool save_m(const DataContext& ctx) {
    return save_data_file(ctx, build_m_body(ctx), "m.dat", "m.bak");
}

namespace data {

std::optional<std::string> open_file(const DataContext& ctx, const std::string& name,
                                     bool& failed) {
    failed = false;
    std::string bytes;
    switch (ctx.fs().read_file(ctx.store.data_dir() + name, bytes)) {
        case FileSystem::ReadResult::missing:
            return std::nullopt;
        case FileSystem::ReadResult::failed:
            ctx.ui.show_msg(MsgKind::Error, "Ошибка при открытии файла данных: " + quoted(name));
            failed = true;
            return std::nullopt;
        case FileSystem::ReadResult::ok:
            break;
    }
    if (bytes.empty()) {
        // No writer makes an empty data file: what it held is lost, and it is damage like any
        // other, never a first run that the exit would write over.
        report_damaged(ctx, name);
        failed = true;
        return std::nullopt;
    }
    return bytes;
}

std::optional<StreamFile> open_stream(const DataContext& ctx, const std::string& name,
                                      bool accept_v1, bool& failed) {
    auto opened = open_file(ctx, name, failed);
    if (!opened) return std::nullopt;
    if (opened->size() < 4) {
        report_damaged(ctx, name);
        failed = true;
        return std::nullopt;
    }
    StreamFile file;
    file.version = FieldReader(*opened).Int32();
    if (file.version != kDataVersion && !(accept_v1 && file.version == 1)) {
        ctx.ui.show_msg(MsgKind::Error, "Не верная версия файла данных: " + quoted(name));
        failed = true;
        return std::nullopt;
    }
    file.bytes = std::move(*opened);
    return file;
}

std::string sane_bitmap(std::string bmp, int max_side) {
    if (bmp.empty()) return bmp;
    const auto u8 = [&bmp](std::size_t i) { return std::uint32_t(std::uint8_t(bmp[i])); };
    const auto u16 = [&u8](std::size_t i) { return u8(i) | u8(i + 1) << 8; };
    const auto u32 = [&u16](std::size_t i) { return u16(i) | u16(i + 2) << 16; };
    if (bmp.size() < 26 || bmp[0] != 'B' || bmp[1] != 'M') return {};
    std::int64_t width = 0, height = 0;
    if (u32(14) == 12) {  // the old core header: 16-bit sizes
        width = u16(18);
        height = u16(20);
    } else {
        width = std::int32_t(u32(18));
        height = std::int32_t(u32(22));
        if (height < 0) height = -height;  // stored top-down
    }
    if (width <= 0 || height <= 0 || width > max_side || height > max_side) return {};
    return bmp;
}

void report_damaged(const DataContext& ctx, const std::string& name) {
    ctx.ui.show_msg(MsgKind::Error, "Ошибка загрузки данных из файла: " + quoted(name));
}

void report_position(const DataContext& ctx, const FieldReader& r) {
    ctx.progress.job_progress(r.percent());
}

void report_index(const DataContext& ctx, std::size_t index, std::size_t count) {
    ctx.progress.job_progress(count == 0 ? 100 : int(index * 100 / count));
}

namespace {

bool digits(std::string_view t, std::size_t from, std::size_t n, int& value) {
    value = 0;
    for (std::size_t i = from; i < from + n; ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        value = value * 10 + (t[i] - '0');
    }
    return true;
}

bool standard_file_format(const FormatSet& f) {
    return f.short_date == "yyyy-MM-dd" && f.long_time == "hh:mm";
}

void put2(std::string& out, int v) {
    out.push_back(char('0' + v / 10 % 10));
    out.push_back(char('0' + v % 10));
}

}  // namespace

std::optional<DateTime> parse_datetime(const all_list& store, std::string_view text) {
    // The files hold exactly "yyyy-MM-dd" or "yyyy-MM-dd hh:mm"; read those directly and leave
    // every other form to the format set.
    if (standard_file_format(store.fs_file) && (text.size() == 10 || text.size() == 16) &&
        text[4] == '-' && text[7] == '-') {
        int y = 0, mo = 0, d = 0, h = 0, mi = 0;
        bool ok = digits(text, 0, 4, y) && digits(text, 5, 2, mo) && digits(text, 8, 2, d);
        if (ok && text.size() == 16)
            ok = text[10] == ' ' && text[13] == ':' && digits(text, 11, 2, h) &&
                 digits(text, 14, 2, mi);
        if (ok) return DateTime::fromParts(y, mo, d, h, mi);
    }
    return store.fs_file.parse(text);
}

std::optional<DateTime> DateTimeReader::operator()(std::string_view text) {
    int h = 0, mi = 0;
    if (text.size() == 16 && text[10] == ' ' && text[13] == ':' && digits(text, 11, 2, h) &&
        digits(text, 14, 2, mi) && h < 24 && mi < 60 && !m_date.empty() &&
        text.substr(0, 10) == m_date)
        return m_day.addMinutes(h * 60 + mi);
    const auto v = parse_datetime(m_store, text);
    int y = 0, mo = 0, d = 0;
    if (v && (text.size() == 10 || text.size() == 16) && text[4] == '-' && text[7] == '-' &&
        digits(text, 0, 4, y) && digits(text, 5, 2, mo) && digits(text, 8, 2, d) &&
        standard_file_format(m_store.fs_file)) {
        m_date.assign(text.substr(0, 10));
        m_day = v->date();
    }
    return v;
}

std::string format_datetime(const all_list& store, DateTime v) {
    if (!standard_file_format(store.fs_file)) return store.fs_file.format(v);
    int y = 0, mo = 0, d = 0;
    v.toParts(y, mo, d);
    if (y < 0 || y > 9999) return store.fs_file.format(v);
    std::string out;
    out.reserve(16);
    put2(out, y / 100);
    put2(out, y % 100);
    out.push_back('-');
    put2(out, mo);
    out.push_back('-');
    put2(out, d);
    if (v.timeOfDay() / 60 != 0) {
        out.push_back(' ');
        put2(out, v.hour());
        out.push_back(':');
        put2(out, v.minute());
    }
    return out;
}

std::unordered_map<std::int32_t, std::shared_ptr<chl_serv_list>> channel_index(
    const all_list& store) {
    std::unordered_map<std::int32_t, std::shared_ptr<chl_serv_list>> index;
    index.reserve(store.channels.size());
    for (const auto& c : store.channels) index.emplace(c->id, c);  // the first of an id wins
    return index;
}

LoveRecord read_love(FieldReader& r) {
    LoveRecord rec;
    rec.id = r.Int32();
    rec.title = r.ShortText();
    rec.liked = r.Flag();
    rec.seen = r.ShortText();
    return rec;
}

void add_love_record(all_list& store, chl_serv_list& channel, IdCounter& ids, LoveRecord rec) {
    const auto seen = parse_datetime(store, rec.seen);
    if (!seen) return;
    store.add_love(channel, ids.take(rec.id), std::move(rec.title), rec.liked, *seen);
}

}  // namespace data

std::string file_datetime_text(const all_list& store, DateTime v) {
    return data::format_datetime(store, v);
}

}  // namespace zt
