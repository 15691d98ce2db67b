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

// Seconds east of UTC for the offset text, or nothing.
std::optional<int> parse_offset(QByteArrayView s) {
    if (s.isEmpty() || s == "Z" || s == "UTC" || s == "GMT") return 0;
    if (s[0] != '+' && s[0] != '-') return std::nullopt;
    int hours = 0, minutes = 0;
    const qsizetype colon = s.size() == 6 && s[3] == ':' ? 1 : 0;
    if (s.size() != 5 + colon || !digits(s, 1, 2, hours) || !digits(s, 3 + colon, 2, minutes) ||
        hours > 14 || minutes > 59)
        return std::nullopt;
    const int seconds = hours * 3600 + minutes * 60;
    return s[0] == '-' ? -seconds : seconds;
}

}  // namespace

std::optional<std::int64_t> parse_time(QByteArrayView text) {
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
    const auto offset = parse_offset(text.sliced(n).trimmed());
    const auto wall = DateTime::fromParts(year, month, day, hour, minute, second);
    if (!offset || !wall || year < 1900) return std::nullopt;
    return wall->seconds() - kUnixDay * DateTime::kSecondsPerDay - *offset;
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
