#include "print/logic/print_lines.h"

#include <QStringList>
#include <map>
#include <memory>
#include <tuple>

#include "core/progress.h"

namespace zt::print {
namespace {

class LineBuilder final {
public:
    LineBuilder(const std::vector<PrintRow>& rows, const PrintOptions& o, const PrintContext& c,
                const PrintMetrics& m)
        : m_rows(rows), m_o(o), m_c(c), m_m(m), m_merged(rows.size(), 0) {}

    PrintLines build(Progress* progress) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (progress) {
                progress->job_progress(int(i * 100 / m_rows.size()));
                // A cancelled layout leaves nothing half-built behind.
                if (progress->job_cancelled()) return {};
            }
            if (m_merged[i]) continue;
            add_headings(m_rows[i]);
            add_programme_words(i);
            if (!m_o.one_line && m_o.wraps()) WrapLastLine(m_lines, m_m);
        }
        if (m_o.one_line)
            WrapLastLine(m_lines, m_m);
        else
            InsertPageBreaks(m_lines, m_o, m_m.per_page());
        return std::move(m_lines);
    }

private:
    PrintWord word(const QString& text) const {
        PrintWord w;
        w.text = text;
        w.width = m_m.text_width(text);
        return w;
    }

    PrintLine& line_for_text() {
        if (!m_o.one_line || m_lines.empty()) m_lines.emplace_back();
        return m_lines.back();
    }

    // A day or channel heading: a word inside the text in one-line mode, a centred line of
    // its own otherwise.
    void add_heading(const QString& text, const QColor& colour, bool page_break) {
        PrintWord w = word(m_o.one_line ? QLatin1Char(' ') + text + QLatin1Char(' ') : text);
        w.highlight = true;
        w.colour = colour;
        w.break_before = page_break;
        if (m_o.one_line) {
            if (m_lines.empty()) m_lines.emplace_back();
            m_lines.back().words.push_back(std::move(w));
        } else {
            m_lines.push_back(PrintLine{{std::move(w)}, true});
        }
    }

    bool add_day_heading(int day, bool first) {
        if (!m_o.day_heading || day == m_last_day) return false;
        m_last_day = day;
        add_heading(from_cp(m_c.day_names[std::size_t(day - 1)]), m_o.day_heading_colour,
                    m_o.page_break_day() && first);
        return true;
    }

    void add_channel_heading(const chl_local_list& member, bool first) {
        if (!m_o.channel_heading || member.id == m_last_member) return;
        m_last_member = member.id;
        add_heading(member_name(member), m_o.channel_heading_colour,
                    m_o.page_break_channel() && first);
    }

    void add_headings(const PrintRow& row) {
        const int day = row.start.dayOfWeek();
        if (m_c.by_day) {
            if (add_day_heading(day, true)) m_last_member = -1;
            add_channel_heading(*row.member, false);
        } else {
            add_channel_heading(*row.member, true);
            add_day_heading(day, false);
        }
    }

    static QString member_name(const chl_local_list& member) {
        QString text = from_cp(member.name);
        if (!member.button.empty()) text += QStringLiteral(" [") + from_cp(member.button) + ']';
        return text;
    }

    // AddWord: the character limit of one programme line.
    void add_word(PrintLine& line, PrintWord w) {
        const qsizetype length = w.text.size();
        if (m_count < m_o.max_length) {
            if (m_count + length > m_o.max_length) {
                w.text.truncate(m_o.max_length - m_count);
                w.width = m_m.text_width(w.text);
            }
            line.words.push_back(std::move(w));
        }
        m_count += length;
    }

    void add_split(PrintLine& line, const QString& text, bool highlight, const QColor& colour) {
        for (const QString& piece : text.split(QLatin1Char(' '))) {
            PrintWord w = word(piece);
            w.highlight = highlight;
            w.colour = colour;
            add_word(line, std::move(w));
        }
    }

    QString date_time(DateTime v, int form) const {
        const QString time = from_cp(m_c.fs_view.formatTime(v));
        const QString date = from_cp(m_c.fs_view.formatDate(v));
        if (form == 1) return time + ' ' + date;
        if (form == 2) return date + ' ' + time;
        return time;
    }

    void add_start_time(PrintLine& line, std::size_t index) {
        const PrintRow& row = m_rows[index];
        if (m_o.merge_parts && !m_parts) m_parts = std::make_unique<MergeIndex>(m_rows);
        QString text = m_parts ? StartTimeText(m_rows, index, m_o, m_c, m_merged, *m_parts)
                               : StartTimeText(m_rows, index, m_o, m_c, m_merged, kNoParts);
        bool highlight = m_o.mark_time;
        QColor colour = m_o.colour ? m_o.mark_time_colour : QColor(Qt::white);
        const auto& p = *row.prog;
        const bool liked = p.love && p.love->liked == 1;
        const bool disliked = p.love && p.love->liked == 0;
        auto apply = [&](const PrintMarkOption& mark, bool applies) {
            if (!mark.on || !applies) return;
            if (m_o.symbols()) text += mark.symbols;
            if (m_o.colour) {
                highlight = true;
                colour = mark.colour;
            }
        };
        apply(m_o.mark, p.mark == 1);
        apply(m_o.love_yes, liked);
        apply(m_o.love_no, disliked);
        apply(m_o.alarm, p.alarm == 1);
        add_split(line, text, highlight, colour);
    }

    QString title_text(const tvprog_serv_list& p) const {
        if (m_c.abbreviations && p.type && !p.type->abbr.empty())
            return from_cp(p.type->abbr) + QStringLiteral(" \"") + from_cp(p.title) + '"';
        return from_cp(p.title);
    }

    void add_programme_words(std::size_t index) {
        const PrintRow& row = m_rows[index];
        PrintLine& line = line_for_text();
        m_count = 0;
        if (m_o.channel) add_word(line, word(member_name(*row.member)));
        if (m_o.start_time) add_start_time(line, index);
        if (m_o.finish_time) add_word(line, word(date_time(row.finish, m_o.finish_form)));
        if (m_o.length) add_word(line, word(from_cp(row.duration_text)));
        if (m_o.rating) add_word(line, word(QString::number(row.prog->rating) + '%'));
        if (m_o.type_icons && row.prog->type_family > 0) {
            PrintWord w = word(QStringLiteral("##"));
            w.image = row.prog->type_family;
            add_word(line, std::move(w));
        }
        add_split(line, title_text(*row.prog), false, Qt::white);
    }

    const std::vector<PrintRow>& m_rows;
    const PrintOptions& m_o;
    const PrintContext& m_c;
    const PrintMetrics& m_m;
    std::vector<std::uint8_t> m_merged;
    std::unique_ptr<MergeIndex> m_parts;  // made when merging is on
    inline static const MergeIndex kNoParts{{}};
    PrintLines m_lines;
    int m_last_day = -1;
    int m_last_member = -1;
    qsizetype m_count = 0;  // C: characters of the current programme line
};

}  // namespace

MergeIndex::MergeIndex(const std::vector<PrintRow>& rows) : m_group(rows.size(), 0) {
    std::map<std::tuple<int, int, int>, std::size_t> groups;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto key =
            std::make_tuple(rows[i].member->id, rows[i].prog->id, rows[i].start.dayOfWeek());
        const auto [it, added] = groups.emplace(key, m_parts.size());
        if (added) m_parts.emplace_back();
        m_parts[it->second].push_back(i);
        m_group[i] = it->second;
    }
}

const std::vector<std::size_t>& MergeIndex::parts(std::size_t index) const {
    return m_parts[m_group[index]];
}

QString StartTimeText(const std::vector<PrintRow>& rows, std::size_t index, const PrintOptions& o,
                      const PrintContext& c, std::vector<std::uint8_t>& merged,
                      const MergeIndex& parts) {
    const PrintRow& row = rows[index];
    QString text;
    if (o.merge_parts && row.prog->continued == 1) {
        QStringList times;
        for (std::size_t i : parts.parts(index)) {
            times << from_cp(c.fs_view.formatTime(rows[i].start));
            merged[i] = 1;
        }
        text = times.join(QStringLiteral(", "));
    } else {
        text = from_cp(c.fs_view.formatTime(row.start));
    }
    const QString date = from_cp(c.fs_view.formatDate(row.start));
    if (o.start_form == 1) text = text + ' ' + date;
    if (o.start_form == 2) text = date + ' ' + text;
    if (o.mark_time && (o.one_line || !o.colour)) text = ' ' + text + ' ';
    return text;
}

int PadToPage(PrintLines& lines, std::size_t i, int per_page) {
    if (per_page < 1) return 0;
    const int c = int(i % std::size_t(per_page));
    if (c == 0) return 0;
    lines.insert(lines.begin() + std::ptrdiff_t(i), std::size_t(per_page - c), PrintLine{});
    return per_page - c;
}

void WrapLastLine(PrintLines& lines, const PrintMetrics& m) {
    if (lines.empty()) return;
    PrintLine last = std::move(lines.back());
    lines.pop_back();
    // New lines always go to the end (where the cut line stood), so i is the list's size.
    int x = 0;
    bool current = false;
    for (PrintWord& w : last.words) {
        if (x + w.width >= m.column_width || w.break_before) {
            if (w.break_before && lines.size() > 1) PadToPage(lines, lines.size(), m.per_page());
            x = w.width + m.space_width;
            lines.push_back(PrintLine{{std::move(w)}, false});
            current = true;
        } else {
            if (!current) lines.emplace_back();
            current = true;
            x += w.width + m.space_width;
            lines.back().words.push_back(std::move(w));
        }
    }
}

void InsertPageBreaks(PrintLines& lines, const PrintOptions& o, int per_page) {
    if (!o.page_break_day() && !o.page_break_channel()) return;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        for (const PrintWord& w : lines[i].words) {
            if (w.break_before) {
                i += std::size_t(PadToPage(lines, i, per_page));
                break;
            }
        }
    }
}

int CountPrintPages(const PrintLines& lines, int per_page) {
    if (per_page < 1) return 1;
    const int pages = int((lines.size() + std::size_t(per_page) - 1) / std::size_t(per_page));
    return pages < 1 ? 1 : pages;
}

PrintLines BuildPrintLines(const std::vector<PrintRow>& rows, const PrintOptions& options,
                           const PrintContext& context, const PrintMetrics& metrics,
                           Progress* progress) {
    return LineBuilder(rows, options, context, metrics).build(progress);
}

}  // namespace zt::print
