#include "xmltv/xmltv_time.h"

#include <QDateTime>

#include <limits>

namespace zt::xmltv {

namespace {

// Days from 1899-12-30 (day 0 of DateTime) to 1970-01-01.
constexpr std::int64_t kUnixDay = 25569;

bool digits(QByteArrayView s, qsizetype from, qsizetype count, int& value) {
    if (from + count > s.size()) return false;
    value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char c = s[i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

struct NamedZone {
    const char* name;
    int minutes;  // east of UTC
};

// Zone names grabbers write after the time, with the offset each stands for. A name that
// means different zones in different places is taken in the sense European and American
// guides use (IST: Irish summer time, CST: North American central time, AST: Atlantic time).
constexpr NamedZone kNamedZones[] = {
    {"UT", 0},     {"UTC", 0},    {"GMT", 0},    {"Z", 0},       {"WET", 0},     {"WEST", 60},
    {"BST", 60},   {"IST", 60},   {"CET", 60},   {"MET", 60},    {"WAT", 60},    {"CEST", 120},
    {"MEST", 120}, {"EET", 120},  {"CAT", 120},  {"SAST", 120},  {"IDT", 180},   {"EEST", 180},
    {"MSK", 180},  {"TRT", 180},  {"EAT", 180},  {"MSD", 240},   {"GST", 240},   {"PKT", 300},
    {"ICT", 420},  {"WIB", 420},  {"HKT", 480},  {"SGT", 480},   {"AWST", 480},  {"JST", 540},
    {"KST", 540},  {"ACST", 570}, {"ACDT", 630}, {"AEST", 600},  {"AEDT", 660},  {"NZST", 720},
    {"NZDT", 780}, {"NST", -210}, {"NDT", -150}, {"AST", -240},  {"ADT", -180},  {"BRT", -180},
    {"ART", -180}, {"EST", -300}, {"EDT", -240}, {"CST", -360},  {"CDT", -300},  {"MST", -420},
    {"MDT", -360}, {"PST", -480}, {"PDT", -420}, {"AKST", -540}, {"AKDT", -480}, {"HST", -600},
};

// Seconds east of UTC for a zone name (any case), or nothing.
std::optional<int> named_zone(QByteArrayView s) {
    if (s.size() > 5) return std::nullopt;
    char upper[6] = {};
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char c = s[i];
        upper[i] = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    for (const auto& z : kNamedZones)
        if (QByteArrayView(z.name) == QByteArrayView(upper, s.size())) return z.minutes * 60;
    return std::nullopt;
}

bool is_zone_name(QByteArrayView s) {
    if (s.isEmpty() || s.size() > 6) return false;
    for (const char c : s)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    return true;
}

// Seconds east of UTC for the offset text, or nothing (with `fault` saying why).
std::optional<int> parse_offset(QByteArrayView s, TimeFault& fault) {
    if (s.isEmpty()) return 0;
    if (s[0] != '+' && s[0] != '-') {
        const auto named = named_zone(s);
        if (!named) fault = is_zone_name(s) ? TimeFault::unknown_zone : TimeFault::bad_form;
        return named;
    }
    int hours = 0, minutes = 0;
    const qsizetype colon = s.size() == 6 && s[3] == ':' ? 1 : 0;
    if (s.size() != 5 + colon || !digits(s, 1, 2, hours) || !digits(s, 3 + colon, 2, minutes) ||
        hours > 14 || minutes > 59) {
        fault = TimeFault::bad_form;
        return std::nullopt;
    }
    const int seconds = hours * 3600 + minutes * 60;
    return s[0] == '-' ? -seconds : seconds;
}

}  // namespace

std::optional<std::int64_t> parse_time(QByteArrayView text, TimeFault* fault) {
    TimeFault why = TimeFault::bad_form;
    const auto utc = [&]() -> std::optional<std::int64_t> {
        text = text.trimmed();
        qsizetype n = 0;
        while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
        if (n != 8 && n != 10 && n != 12 && n != 14) return std::nullopt;
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        digits(text, 0, 4, year);
        digits(text, 4, 2, month);
        digits(text, 6, 2, day);
        if (n >= 10) digits(text, 8, 2, hour);
        if (n >= 12) digits(text, 10, 2, minute);
        if (n >= 14) digits(text, 12, 2, second);
        const auto wall = DateTime::fromParts(year, month, day, hour, minute, second);
        if (!wall || year < 1900) return std::nullopt;
        const auto offset = parse_offset(text.sliced(n).trimmed(), why);
        if (!offset) return std::nullopt;
        return wall->seconds() - kUnixDay * DateTime::kSecondsPerDay - *offset;
    }();
    if (fault) *fault = utc ? TimeFault::none : why;
    return utc;
}

ZoneConverter::ZoneConverter(QTimeZone zone) : m_zone(std::move(zone)) {}

DateTime ZoneConverter::to_local(std::int64_t utc) {
    if (utc < m_from || utc >= m_to) {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(utc, QTimeZone::utc());
        m_offset = m_zone.offsetFromUtc(at);
        // The period of this offset: from the last transition at or before the instant to the
        // next one after it (unbounded for zones without transitions).
        m_from = std::numeric_limits<std::int64_t>::min();
        m_to = std::numeric_limits<std::int64_t>::max();
        if (m_zone.hasTransitions()) {
            const auto prev = m_zone.previousTransition(at.addSecs(1));
            const auto next = m_zone.nextTransition(at);
            if (prev.atUtc.isValid()) m_from = prev.atUtc.toSecsSinceEpoch();
            if (next.atUtc.isValid()) m_to = next.atUtc.toSecsSinceEpoch();
            if (m_from > utc || m_to <= utc) {  // inconsistent zone data: this instant only
                m_from = utc;
                m_to = utc + 1;
            }
        }
    }
    return DateTime::fromSeconds(utc + m_offset + kUnixDay * DateTime::kSecondsPerDay);
}

}  // namespace zt::xmltv
