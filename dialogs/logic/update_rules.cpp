#include "dialogs/logic/update_rules.h"

#include <algorithm>

#include <QString>

#include "core/cp1251.h"
#include "core/text_helpers.h"

namespace zt {

std::string password_digest_after(const std::string& field_utf8, const std::string& digest) {
    if (field_utf8.empty()) return {};
    if (QString::fromStdString(field_utf8)
            .compare(QLatin1String(kPasswordMask), Qt::CaseInsensitive) == 0)
        return digest;
    return md5_hex(to_cp1251(field_utf8));
}

bool import_file_name_ok(const std::string& path) {
    const QString p = QString::fromStdString(path);
    for (const char* tail : {".zorvan_tv", ".xml", ".xml.gz"})
        if (p.endsWith(QLatin1String(tail), Qt::CaseInsensitive)) return true;
    return false;
}

SourceControlStates source_control_states(int source, int user_type) {
    if (source == 1) return {true, false, false};
    return {false, true, user_type == 1};
}

std::array<int, 4> status_panel_widths(int width, const std::array<int, 4>& needed, int chrome) {
    std::array<int, 4> w{width * 25 / 100, width * 15 / 100, width * 28 / 100, width * 17 / 100};
    int rest = std::max(width - chrome - (w[0] + w[1] + w[2] + w[3]), 0);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const int grow = std::min(std::max(needed[i] - w[i], 0), rest);
        w[i] += grow;
        rest -= grow;
    }
    for (std::size_t i = 0; i < w.size(); ++i) {
        for (std::size_t j = 0; j < w.size() && w[i] < needed[i]; ++j) {
            if (j == i) continue;
            const int give = std::min(std::max(w[j] - needed[j], 0), needed[i] - w[i]);
            w[j] -= give;
            w[i] += give;
        }
    }
    return w;
}

int paket_at_tree_pos(const net::SelectionLists& lists, int pos) {
    if (pos < 0) return -1;
    for (std::size_t i = 0; i < lists.update_pakets.size(); ++i)
        if (lists.update_pakets[i]->tree_pos == pos) return int(i);
    return -1;
}

void apply_ticks(net::update_paket_list& paket, TickAction action) {
    for (auto& e : paket.channels) {
        switch (action) {
            case TickAction::all:
                e.ticked = 1;
                break;
            case TickAction::none:
                e.ticked = 0;
                break;
            case TickAction::invert:
                e.ticked = e.ticked == 1 ? 0 : 1;
                break;
        }
    }
}

bool any_ticked(const net::SelectionLists& lists) {
    for (const auto& p : lists.update_pakets)
        for (const auto& e : p->channels)
            if (e.ticked) return true;
    return false;
}

}  // namespace zt
