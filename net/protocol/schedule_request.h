#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zt::protocol {

// The body of the schedule request: the channels wanted with the days already held (part A),
// the packages chosen (part B) and the report of the user's marks (part C).

struct HeldDay final {
    std::string date;  // "yyyy-MM-dd"
    std::uint8_t full = 0;
    std::uint8_t with_anons = 0;
    bool operator==(const HeldDay&) const = default;
};

struct WantedChannel final {
    std::int32_t id = 0;
    std::string stamp;  // 8 bytes on the wire
    std::vector<HeldDay> days;
    bool operator==(const WantedChannel&) const = default;
};

struct MarkEntry final {
    std::int32_t prog_id = 0;
    std::uint8_t state = 0;  // 2 liked title, 0xFE unliked title, 1 marked, 3 reminder set
    bool operator==(const MarkEntry&) const = default;
};

struct MarkReport final {
    std::int32_t channel_id = 0;
    std::vector<MarkEntry> entries;
    bool operator==(const MarkReport&) const = default;
};

struct ScheduleRequest final {
    std::vector<WantedChannel> channels;
    std::vector<std::int32_t> pakets;
    std::vector<MarkReport> marks;
    bool operator==(const ScheduleRequest&) const = default;
};

std::string write_schedule_request(const ScheduleRequest& request);

// Reads the three parts. Every count is checked against the bytes left before anything is
// kept, so a count beyond the body fails instead of allocating; throws field_error on a body
// that ends early, a negative count, or bytes left over after part C.
ScheduleRequest read_schedule_request(std::string_view body);

}  // namespace zt::protocol
