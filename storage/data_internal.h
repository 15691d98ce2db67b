#pragma once

// Helpers shared by the readers and writers of the four data files (not part of the public
// interface).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/store.h"
#include "storage/data_files.h"
#include "storage/field_codec.h"
#include "storage/section.h"

namespace zt::data {

// The bytes of a data file; nothing when it is missing, or (with `failed` set and its message
// shown) when it cannot be read or is empty.
std::optional<std::string> open_file(const DataContext& ctx, const std::string& name, bool& failed);

// A data file opened for reading as it streams: its version and its bytes after the version
// (the compressed body), which an InflateStream then reads.
struct StreamFile final {
    std::int32_t version = 0;
    std::string bytes;
    std::string_view compressed() const { return std::string_view(bytes).substr(4); }
};
// Opens and checks the version; nothing when missing (`failed` false) or when a message was
// shown (`failed` true).
std::optional<StreamFile> open_stream(const DataContext& ctx, const std::string& name,
                                      bool accept_v1, bool& failed);

// The memory the records of one file may take, whatever the counts in the file say: a small
// file of tiny records that expands to gigabytes is refused as damaged instead. Half the body
// ceiling (512 MB with plenty of memory); the largest real schedule takes a fraction of it.
class RecordBudget final {
public:
    explicit RecordBudget(const DataContext& ctx)
        : m_left(ctx.record_budget ? ctx.record_budget : body_ceiling() / 2) {}
    // Counts a record that keeps `bytes` of its own (its struct and texts) plus the
    // allocations around it; throws field_error beyond the budget.
    void charge(std::size_t bytes) {
        const std::size_t cost = bytes + kPerRecord;
        if (cost > m_left) throw field_error("the records exceed the memory budget");
        m_left -= cost;
    }

private:
    // The shared pointer, its control block, the list slot and the allocator's rounding.
    static constexpr std::size_t kPerRecord = 64;
    std::size_t m_left;
};

// The largest side of a channel logo and of an announcement picture. A bitmap that declares
// more (a few bytes of run-length data can declare thousands of pixels) is dropped as no
// picture before anything decodes it.
constexpr int kMaxLogoSide = 512;
using zt::kMaxPictureSide;
// `bmp` when it is a BMP file image within `max_side` pixels each way, or empty.
std::string sane_bitmap(std::string bmp, int max_side);

// load_v and load_m reading the file `name` of the data folder (the file or its backup).
bool load_v_file(const DataContext& ctx, const char* name);
bool load_m_file(const DataContext& ctx, const char* name);

// Replaces the data file `name` as save_data_file does, from its compressed body.
bool write_file(const DataContext& ctx, std::string body, const std::string& name,
                const std::string& bak, std::int32_t version = kDataVersion);

// Shows "Ошибка загрузки данных из файла: ..." for a body that ends inside a record.
void report_damaged(const DataContext& ctx, const std::string& name);

// Reports parse progress: body position x 100 / body size (or the stream's input position).
void report_position(const DataContext& ctx, const FieldReader& r);
void report_index(const DataContext& ctx, std::size_t index, std::size_t count);

// Date-time texts of the files: "yyyy-MM-dd" or "yyyy-MM-dd hh:mm" in the store's `fs_file`.
std::optional<DateTime> parse_datetime(const all_list& store, std::string_view text);
std::string format_datetime(const all_list& store, DateTime v);

// The t.dat body in the current layout, or in version 1 whose programme records also carry the
// user's marks (mark, alarm, liked programme). Progress is reported for the current one only.
enum class TLayout { current, version1 };
std::string t_body(const DataContext& ctx, TLayout layout);
// The same body written into `body` a part at a time: after a channel that brings it to
// SectionDeflater::kPart bytes or more, and at the end, `part_done` gets it (and may take its
// bytes); it then starts again empty. Without `part_done` the whole body stays in `body`.
void write_t_body(const DataContext& ctx, TLayout layout, std::string& body,
                  const std::function<void(std::string&)>& part_done);

// parse_datetime for a run of texts that mostly share their date (a channel's programmes):
// the day of the last date read is reused.
class DateTimeReader final {
public:
    explicit DateTimeReader(const all_list& store) : m_store(store) {}
    std::optional<DateTime> operator()(std::string_view text);

private:
    const all_list& m_store;
    std::string m_date;  // the last "yyyy-MM-dd" read
    DateTime m_day;
};

// Channel id -> channel, for the readers of files that refer to channels by id.
std::unordered_map<std::int32_t, std::shared_ptr<chl_serv_list>> channel_index(
    const all_list& store);

// The id a record gets when the file says -1: one more than the largest so far.
class IdCounter final {
public:
    template <class List>
    void seed(const List& list) {
        for (const auto& r : list) see(r->id);
    }
    void see(std::int32_t id) {
        if (id > m_top) m_top = id;
    }
    // The id to store for a record read as `id`.
    std::int32_t take(std::int32_t id) {
        if (id == -1) id = m_top == INT32_MAX ? m_top : m_top + 1;
        see(id);
        return id;
    }

private:
    std::int32_t m_top = 0;
};

// A favourite or disliked title as the files hold it (v.dat and the legacy u.dat).
struct LoveRecord final {
    std::int32_t id = 0;
    std::string title;
    std::uint8_t liked = 0;
    std::string seen;
};
LoveRecord read_love(FieldReader& r);
// Adds one to the channel; a record whose date does not parse is dropped.
void add_love_record(all_list& store, chl_serv_list& channel, IdCounter& ids, LoveRecord rec);

}  // namespace zt::data
