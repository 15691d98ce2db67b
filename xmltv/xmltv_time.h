#pragma once

#include <QByteArrayView>
#include <QTimeZone>

#include <cstdint>
#include <optional>

#include "core/datetime.h"

namespace zt::xmltv {

enum class TimeFault { none, bad_form, unknown_zone };

// An XMLTV time "YYYYMMDDhhmmss +zzzz" as seconds since 1970-01-01 00:00 UTC. Minutes and
// seconds may be left off ("YYYYMMDDhhmm", "YYYYMMDD"); the offset may be "+hhmm", "+hh:mm" or
// a zone name of the table in xmltv_time.cpp ("BST", "CEST", "MSK", "PDT", any case); a missing
// offset means UTC. Anything else, or a date that does not exist, gives nothing, and `fault`
// (when given) says whether the form or an unknown zone name was the reason.
std::optional<std::int64_t> parse_time(QByteArrayView text, TimeFault* fault = nullptr);

// Converts UTC instants into wall-clock times of one zone, daylight saving included. The offset
// of the last period looked up is kept with its bounds, so a file's times cost one zone lookup
// per transition rather than one per programme.
class ZoneConverter final {
public:
    explicit ZoneConverter(QTimeZone zone);
    DateTime to_local(std::int64_t utc_seconds);

private:
    QTimeZone m_zone;
    std::int64_t m_from = 1;  // [m_from, m_to) share m_offset; empty at first
    std::int64_t m_to = 0;
    int m_offset = 0;
};

}  // namespace zt::xmltv
