#include "net/protocol/paket_list.h"

#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "storage/field_codec.h"

namespace zt::protocol {

std::vector<PaketRecord> depth_first(std::vector<PaketRecord> pakets) {
    std::unordered_map<std::int32_t, std::size_t> by_id;
    for (std::size_t i = 0; i < pakets.size(); ++i) by_id.emplace(pakets[i].id, i);
    // A package is a root when its parent is absent or when following parents loops back.
    auto is_root = [&](std::size_t i) {
        std::unordered_set<std::int32_t> seen{pakets[i].id};
        std::int32_t parent = pakets[i].parent;
        while (parent != 0) {
            auto it = by_id.find(parent);
            if (it == by_id.end() || !seen.insert(parent).second) return true;
            parent = pakets[it->second].parent;
        }
        return false;
    };
    std::vector<bool> root(pakets.size());
    std::unordered_map<std::int32_t, std::vector<std::size_t>> children;
    for (std::size_t i = 0; i < pakets.size(); ++i) {
        root[i] = pakets[i].parent == 0 || is_root(i);
        if (!root[i]) children[pakets[i].parent].push_back(i);
    }
    std::vector<PaketRecord> out;
    out.reserve(pakets.size());
    std::function<void(std::size_t)> visit = [&](std::size_t i) {
        out.push_back(pakets[i]);
        for (std::size_t c : children[pakets[i].id]) visit(c);
    };
    for (std::size_t i = 0; i < pakets.size(); ++i)
        if (root[i]) visit(i);
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

PaketList read_paket_list(std::string_view body) {
    FieldReader outer(body);
    const std::string channels = outer.ZSection();
    const std::string pakets = outer.ZSection();
    PaketList list;
    FieldReader cr(channels);
    while (!cr.at_end()) {
        ChannelRecord c;
        c.id = cr.Int32();
        c.name = cr.ShortText();
        c.descr = cr.LongText();
        c.stamp = cr.FixedText(8);
        c.logo16 = cr.BitmapBlob();
        c.logo24 = cr.BitmapBlob();
        c.logo32 = cr.BitmapBlob();
        list.channels.push_back(std::move(c));
    }
    FieldReader pr(pakets);
    while (!pr.at_end()) {
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
            p.entries.push_back(std::move(e));
        }
        list.pakets.push_back(std::move(p));
    }
    return list;
}

}  // namespace zt::protocol
