#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zt {

// A point in time as whole seconds since 1899-12-30 00:00 (day 0), local time, no time zone.
// The schedule works in whole minutes; "now" may carry seconds. Integer storage keeps
// "exactly the same minute" comparisons exact.
class DateTime final {
public:
    static constexpr std::int64_t kSecondsPerDay = 86400;
    static constexpr std::int64_t kSecondsPerMinute = 60;

    constexpr DateTime() = default;
    static constexpr DateTime fromSeconds(std::int64_t s) { return DateTime(s); }
    static constexpr DateTime fromMinutes(std::int64_t m) { return DateTime(m * 60); }
    static constexpr DateTime fromDays(std::int64_t d) { return DateTime(d * kSecondsPerDay); }
    // Invalid calendar values (month 13, 30 February, hour 25) give nothing.
    static std::optional<DateTime> fromParts(int year, int month, int day, int hour = 0,
                                             int minute = 0, int second = 0);

    constexpr std::int64_t seconds() const { return m_s; }
    constexpr std::int64_t minutes() const { return floorDiv(m_s, 60); }
    // Day count (integer part of the "days with fraction" value).
    constexpr std::int64_t dayNumber() const { return floorDiv(m_s, kSecondsPerDay); }
    constexpr double days() const { return double(m_s) / double(kSecondsPerDay); }
    constexpr DateTime date() const { return fromDays(dayNumber()); }
    // Seconds since midnight.
    constexpr std::int64_t timeOfDay() const { return m_s - dayNumber() * kSecondsPerDay; }
    // 1 = Sunday ... 7 = Saturday (day 0, 1899-12-30, was a Saturday).
    constexpr int dayOfWeek() const { return int(floorMod(dayNumber() + 6, 7)) + 1; }

    void toParts(int& year, int& month, int& day) const;
    int hour() const { return int(timeOfDay() / 3600); }
    int minute() const { return int(timeOfDay() / 60 % 60); }
    int second() const { return int(timeOfDay() % 60); }

    constexpr DateTime addDays(std::int64_t d) const { return DateTime(m_s + d * kSecondsPerDay); }
    constexpr DateTime addMinutes(std::int64_t m) const { return DateTime(m_s + m * 60); }
    constexpr DateTime addSeconds(std::int64_t s) const { return DateTime(m_s + s); }
    // Drops the seconds: the start of the minute.
    constexpr DateTime wholeMinute() const { return fromMinutes(minutes()); }

    constexpr DateTime operator+(DateTime o) const { return DateTime(m_s + o.m_s); }
    constexpr DateTime operator-(DateTime o) const { return DateTime(m_s - o.m_s); }
    constexpr auto operator<=>(const DateTime&) const = default;

private:
    constexpr explicit DateTime(std::int64_t s) : m_s(s) {}
    static constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
        return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
    }
    static constexpr std::int64_t floorMod(std::int64_t a, std::int64_t b) {
        return a - floorDiv(a, b) * b;
    }
    std::int64_t m_s = 0;
};

// Monday 00:00 of the week that contains the given day.
DateTime monday_of_week(DateTime day);

}  // namespace zt
