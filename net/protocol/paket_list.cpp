#include "net/protocol/paket_list.h"

#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "storage/field_codec.h"
#include "storage/section.h"

namespace zt::protocol {

std::vector<PaketRecord> depth_first(std::vector<PaketRecord> pakets) {
    const std::size_t n = pakets.size();
    constexpr std::size_t kNone = SIZE_MAX;
    // Every id stands for its first package.
    std::unordered_map<std::int32_t, std::size_t> by_id;
    for (std::size_t i = 0; i < n; ++i) by_id.emplace(pakets[i].id, i);
    const auto parent_of = [&](std::size_t i) {
        if (pakets[i].parent == 0) return kNone;
        const auto it = by_id.find(pakets[i].parent);
        return it == by_id.end() ? kNone : it->second;
    };
    // Whether following the parents from a package reaches a top-level one (parent 0) without
    // passing a package twice: one walk per package at most, each result kept.
    enum : std::uint8_t { unknown, on_walk, reaches_top, loops };
    std::vector<std::uint8_t> state(n, unknown);
    std::vector<std::size_t> walk;
    for (std::size_t start = 0; start < n; ++start) {
        std::size_t i = start;
        while (i != kNone && state[i] == unknown && pakets[i].parent != 0) {
            state[i] = on_walk;
            walk.push_back(i);
            i = parent_of(i);
            if (i == kNone) break;
        }
        std::uint8_t result = reaches_top;
        if (i == kNone) {
            result = walk.empty() ? reaches_top : loops;  // a missing parent
        } else if (state[i] == on_walk) {
            result = loops;
        } else if (state[i] == unknown) {
            state[i] = reaches_top;  // a top-level package
        } else {
            result = state[i];
        }
        for (std::size_t w : walk) state[w] = result;
        walk.clear();
    }
    // A package is a root when its parent is absent or when following parents loops back to
    // it; with unique ids that is exactly "its parent does not reach the top". A second
    // package of an id that is an ancestor of its own parent loops back too: the ancestors are
    // told by their places in a walk of the tree of first packages.
    std::vector<std::vector<std::size_t>> first_children(n);
    for (std::size_t i = 0; i < n; ++i)
        if (by_id[pakets[i].id] == i && pakets[i].parent != 0 && state[i] == reaches_top)
            first_children[parent_of(i)].push_back(i);
    std::vector<std::size_t> enter(n, 0), leave(n, 0);
    std::size_t clock = 0;
    std::vector<std::pair<std::size_t, std::size_t>> stack;
    for (std::size_t i = 0; i < n; ++i) {
        if (by_id[pakets[i].id] != i || state[i] != reaches_top || pakets[i].parent != 0) continue;
        stack.push_back({i, 0});
        enter[i] = ++clock;
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            if (next < first_children[node].size()) {
                const std::size_t c = first_children[node][next++];
                enter[c] = ++clock;
                stack.push_back({c, 0});
            } else {
                leave[node] = ++clock;
                stack.pop_back();
            }
        }
    }
    std::vector<bool> root(n);
    std::unordered_map<std::int32_t, std::vector<std::size_t>> children;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t p = parent_of(i);
        bool is_root = p == kNone || state[p] != reaches_top;
        if (!is_root) {
            const std::size_t first = by_id[pakets[i].id];
            // The parent's line of ancestors passes the first package of this id.
            is_root = enter[first] != 0 && enter[first] <= enter[p] && leave[p] <= leave[first];
        }
        root[i] = is_root;
        if (!is_root) children[pakets[i].parent].push_back(i);
    }
    // Depth first without recursion: a chain of packages may be as long as the list. Each
    // package comes once: with repeated ids two packages could list each other as children.
    std::vector<PaketRecord> out;
    out.reserve(n);
    std::vector<bool> visited(n);
    std::vector<std::pair<std::size_t, std::size_t>> visit;
    static const std::vector<std::size_t> kNoChildren;
    const auto children_of = [&](std::size_t i) -> const std::vector<std::size_t>& {
        const auto it = children.find(pakets[i].id);
        return it == children.end() ? kNoChildren : it->second;
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (!root[i] || visited[i]) continue;
        visited[i] = true;
        out.push_back(pakets[i]);
        visit.push_back({i, 0});
        while (!visit.empty()) {
            auto& [node, next] = visit.back();
            const auto& kids = children_of(node);
            if (next < kids.size()) {
                const std::size_t c = kids[next++];
                if (visited[c]) continue;
                visited[c] = true;
                out.push_back(pakets[c]);
                visit.push_back({c, 0});
            } else {
                visit.pop_back();
            }
        }
    }
    return out;
}

std::string write_paket_list(const PaketList& list) {
    std::string channels;
    FieldWriter cw(channels);
    for (const auto& c : list.channels) {
        cw.Int32(c.id);
        cw.ShortText(c.name);
        cw.LongText(c.descr);
        cw.FixedText(c.stamp, 8);
        cw.BitmapBlob(c.logo16);
        cw.BitmapBlob(c.logo24);
        cw.BitmapBlob(c.logo32);
    }
    std::string pakets;
    FieldWriter pw(pakets);
    for (const auto& p : list.pakets) {
        pw.Int32(p.id);
        pw.Int32(p.parent);
        pw.ShortText(p.name);
        pw.LongText(p.descr);
        if (p.picture16.empty() || p.picture32.empty()) {
            pw.Int32(0);
            pw.Int32(0);
        } else {
            pw.BitmapBlob(p.picture16);
            pw.BitmapBlob(p.picture32);
        }
        pw.Int32(std::int32_t(p.entries.size()));
        for (const auto& e : p.entries) {
            pw.Int32(e.channel_id);
            pw.ShortText(e.shift);
            pw.ShortText(e.button);
        }
    }
    std::string out;
    FieldWriter w(out);
    w.ZSection(std::move(channels));
    w.ZSection(std::move(pakets));
    return out;
}

namespace {

// Counts what the records of one package list take in memory (see kPaketListBudget).
class ListBudget final {
public:
    // A record of `bytes` of its own (struct and texts), with its slot in a growing list.
    void charge(std::size_t record_size, std::size_t texts) {
        const std::size_t cost = 2 * record_size + texts + kPerRecord;
        if (cost > m_left) throw field_error("the package list exceeds its memory budget");
        m_left -= cost;
    }

private:
    // The allocations around a record and the allocator's rounding.
    static constexpr std::size_t kPerRecord = 64;
    std::size_t m_left = kPaketListBudget;
};

// Reads one length-prefixed section as it inflates, never holding it whole: `record` reads one
// record at a time until the section ends.
template <class ReadRecord>
void read_section(FieldReader& outer, ReadRecord record) {
    const std::int32_t n = outer.Int32();
    if (n < 0) throw field_error("negative section length");
    const std::string_view compressed = outer.Bytes(std::size_t(n));
    InflateStream stream(compressed, nullptr, kPaketListBudget, false, InflateStream::Ahead::never);
    FieldReader r(stream);
    while (!r.at_end()) record(r);
    if (!stream.finish()) throw section_error("section does not inflate");
}

}  // namespace

PaketList read_paket_list(std::string_view body) {
    FieldReader outer(body);
    PaketList list;
    ListBudget budget;
    read_section(outer, [&](FieldReader& cr) {
        ChannelRecord c;
        c.id = cr.Int32();
        c.name = cr.ShortText();
        c.descr = cr.LongText();
        c.stamp = cr.FixedText(8);
        c.logo16 = cr.BitmapBlob();
        c.logo24 = cr.BitmapBlob();
        c.logo32 = cr.BitmapBlob();
        budget.charge(sizeof c, c.name.size() + c.descr.size() + c.stamp.size() + c.logo16.size() +
                                    c.logo24.size() + c.logo32.size());
        list.channels.push_back(std::move(c));
    });
    read_section(outer, [&](FieldReader& pr) {
        PaketRecord p;
        p.id = pr.Int32();
        p.parent = pr.Int32();
        p.name = pr.ShortText();
        p.descr = pr.LongText();
        p.picture16 = pr.BitmapBlob();
        if (p.picture16.empty())
            pr.Int32();  // the second length, 0 as well
        else
            p.picture32 = pr.BitmapBlob();
        const std::int32_t count = pr.Int32();
        // An entry takes at least 6 bytes: a count beyond the section is cut to what is there.
        for (std::int32_t i = 0; i < count && !pr.at_end(); ++i) {
            PaketEntry e;
            e.channel_id = pr.Int32();
            e.shift = pr.ShortText();
            e.button = pr.ShortText();
            budget.charge(sizeof e, e.shift.size() + e.button.size());
            p.entries.push_back(std::move(e));
        }
        budget.charge(sizeof p,
                      p.name.size() + p.descr.size() + p.picture16.size() + p.picture32.size());
        list.pakets.push_back(std::move(p));
    });
    return list;
}

}  // namespace zt::protocol
