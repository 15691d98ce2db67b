#pragma once

#include <QStringList>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/format_set.h"
#include "print/logic/print_lines.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[' << list.join(QStringLiteral("|")).toStdString() << ']';
}

namespace zt::print::test {

// Monday 2026-12-07 plus `day` days, at hh:mm.
inline DateTime at(int day, int hour, int minute) {
    return DateTime::fromParts(2026, 12, 7, hour, minute)->addDays(day);
}

inline std::shared_ptr<chl_local_list> member(int id, const char* name_utf8) {
    auto m = std::make_shared<chl_local_list>();
    m->id = id;
    m->name = to_cp1251(name_utf8);
    return m;
}

inline PrintRow row(const std::shared_ptr<chl_local_list>& m, DateTime start,
                    const char* title_utf8, int id = 0) {
    auto p = std::make_shared<tvprog_serv_list>();
    p->id = id;
    p->title = to_cp1251(title_utf8);
    p->start = start;
    p->finish = start.addMinutes(30);
    return {p, m, start, start.addMinutes(30), "0:30"};
}

inline PrintContext context(bool by_day = false) {
    PrintContext c;
    c.by_day = by_day;
    c.day_names = default_day_names();
    c.fs_view = make_fs_view(c.day_names);
    c.week_cur = at(0, 0, 0);
    c.host = QStringLiteral("www.zorvan.tv");
    return c;
}

// A landscape A4 page at 96 dpi: 1123 × 794 pixels.
inline PrintMetrics metrics(const PrintOptions& o, int dpi = 96) {
    return SetPrintMetrics(o, dpi, 1123 * dpi / 96, 794 * dpi / 96);
}

// Lines as text: words joined by blanks, a centred line marked with "*", an empty line "".
inline QStringList texts(const PrintLines& lines) {
    QStringList out;
    for (const auto& line : lines) {
        QStringList words;
        for (const auto& w : line.words) words << w.text;
        out << (line.centred ? QStringLiteral("*") : QString()) + words.join(' ');
    }
    return out;
}

}  // namespace zt::print::test
