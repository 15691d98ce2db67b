#include "tools/gen/xmltv_writer.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/store.h"

namespace zt::gen {

namespace {

std::string escaped(const std::string& cp1251) {
    std::string out;
    for (char c : to_utf8(cp1251)) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string xmltv_time(DateTime t) {
    int y = 0, m = 0, d = 0;
    t.toParts(y, m, d);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d +0300", y, m, d, t.hour(), t.minute(),
                  t.second());
    return buf;
}

// Counts what goes through to the stream.
class CountingOut {
public:
    explicit CountingOut(std::ostream& out) : m_out(out) {}
    CountingOut& operator<<(const std::string& s) {
        m_out << s;
        m_bytes += std::int64_t(s.size());
        return *this;
    }
    std::int64_t bytes() const { return m_bytes; }

private:
    std::ostream& m_out;
    std::int64_t m_bytes = 0;
};

void write_programme(CountingOut& out, const chl_serv_list& channel, const tvprog_serv_list& p,
                     std::int64_t shift_days, const all_list& store) {
    out << "  <programme start=\"" + xmltv_time(p.start.addDays(shift_days)) + "\" stop=\"" +
               xmltv_time(p.finish.addDays(shift_days)) + "\" channel=\"ch" +
               std::to_string(channel.id) + ".zt\">\n";
    out << "    <title lang=\"ru\">" + escaped(p.title) + "</title>\n";
    if (!p.descr.empty()) out << "    <desc lang=\"ru\">" + escaped(p.descr) + "</desc>\n";
    if (const auto* family = store.find_type(p.type_family, -1))
        out << "    <category lang=\"ru\">" + escaped(family->name) + "</category>\n";
    if (p.type && p.type->sub > 0)
        out << "    <category lang=\"ru\">" + escaped(p.type->name) + "</category>\n";
    if (p.rating > 0)
        out << "    <star-rating><value>" + std::to_string(p.rating) +
                   "/100</value></star-rating>\n";
    out << "  </programme>\n";
}

}  // namespace

std::int64_t write_xmltv(const all_list& store, std::ostream& out_stream, std::int64_t min_bytes) {
    CountingOut out(out_stream);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n"
           "<tv generator-info-name=\"zorvan-cli gen-xmltv\">\n";
    for (const auto& c : store.channels)
        out << "  <channel id=\"ch" + std::to_string(c->id) +
                   ".zt\">\n    <display-name lang=\"ru\">" + escaped(c->name) +
                   "</display-name>\n    <icon src=\"logos/ch" + std::to_string(c->id) +
                   ".bmp\"/>\n  </channel>\n";
    // Programmes by day, channel after channel within a day.
    std::map<std::int64_t, std::vector<std::pair<const chl_serv_list*, const tvprog_serv_list*>>>
        days;
    for (const auto& c : store.channels)
        for (const auto& p : c->tvprog) days[p->start.dayNumber()].push_back({c.get(), p.get()});
    if (!days.empty()) {
        const std::int64_t span = days.rbegin()->first - days.begin()->first + 1;
        for (std::int64_t shift = 0, pass = 0; pass == 0 || out.bytes() < min_bytes;
             shift += span, ++pass) {
            for (const auto& [day, progs] : days) {
                for (const auto& [channel, p] : progs)
                    write_programme(out, *channel, *p, shift, store);
                if (pass > 0 && out.bytes() >= min_bytes) break;
            }
        }
    }
    out << "</tv>\n";
    return out.bytes();
}

}  // namespace zt::gen
