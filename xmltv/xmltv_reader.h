#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <cstdint>
#include <functional>
#include <string>

#include "core/datetime.h"

namespace zt::xmltv {

// One <channel> element.
struct Channel final {
    QString id;         // the channel's id attribute, as written
    std::string name;   // first display-name, CP1251, at most 255 bytes
    QString icon_path;  // a local picture file from <icon src>, empty for anything else
};

// One <programme> element, after time conversion, stop completion and overlap resolution.
struct Programme final {
    QString channel_id;
    DateTime start;     // wall-clock time of the target zone
    DateTime finish;    // always after start
    std::string title;  // CP1251, at most 255 bytes
    std::string descr;  // CP1251, at most 255 bytes: episode mark, sub-title, description
    std::int32_t type_family = -1;  // genre from the category mapping; -1 family = no genre
    std::int32_t type_sub = -1;
    std::int32_t rating = -1;  // per cent, -1 when the file gives none
};

// Receives the file's records in order: every channel as its element ends; programmes of one
// channel in rising start order once their finish is known (the order of the actual instants:
// in the hour that repeats when clocks go back, wall-clock starts repeat too). The exception is a
// channel given twice (two grabbers' files joined): a programme of the later copy that fills a
// gap before programmes already delivered comes late, never overlapping what came before.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void channel(const Channel& channel) = 0;
    virtual void programme(const Programme& programme) = 0;
};

struct ReadOptions final {
    QTimeZone zone = QTimeZone::systemTimeZone();  // zone the times are converted into
    QString genre_map_path;                        // empty: the built-in mapping table
    std::function<void(std::int64_t done, std::int64_t total)> progress;  // bytes of the file
    std::function<bool()> cancelled;
};

struct ReadResult final {
    bool ok = false;
    QString message;        // Russian, names the line where the input went wrong
    std::int64_t line = 0;  // 0 when no line applies
    std::int64_t channels = 0;
    std::int64_t programmes = 0;
    // What the reader had to change or leave out, so that nothing goes missing unnoticed.
    std::int64_t transliterated_chars = 0;  // CP1251 lacks them: nearest form or Latin letters
    std::int64_t replaced_chars = 0;        // characters with no readable form, written as '?'
    std::int64_t cut_texts = 0;             // texts longer than 255 bytes, cut and ended with '…'
    std::int64_t entities = 0;              // undeclared entities read as HTML's ones or as a space
    std::int64_t late_programmes = 0;      // starting inside a programme already delivered: skipped
    std::int64_t filled_gaps = 0;          // a later copy's programmes delivered late into a gap
    std::int64_t open_ended = 0;           // last programme of a channel without stop: skipped
    std::int64_t replaced_duplicates = 0;  // same channel and start given again: the later kept
    std::int64_t zero_length = 0;          // stop equal to start: read as without stop
    std::int64_t stop_before_start = 0;    // stop before start: read as without stop
    std::int64_t skipped_programmes = 0;   // no channel or a start that cannot be read: skipped
    std::int64_t skipped_channels = 0;     // <channel> without id: skipped
    std::int64_t unknown_zones = 0;  // times whose zone name is not in the table (of those two)
    std::int64_t bad_fields = 0;     // stop, length or episode-num unreadable: read without it
    QStringList problems;            // the first few of the above, "строка N: ..."
};

// Streams an XMLTV file (plain or gzip) into the sink without holding the file in memory.
// On failure the sink has received only records that were complete before the fault.
ReadResult read_file(const QString& path, const ReadOptions& options, Sink& sink);
// The same for a file's bytes held in memory; relative icon paths are taken against `base_dir`.
ReadResult read_data(const QByteArray& data, const QString& base_dir, const ReadOptions& options,
                     Sink& sink);

}  // namespace zt::xmltv
