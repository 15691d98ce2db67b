#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string_view>

namespace zt::xmltv {

// A channel icon's local file: a file: URL without a host, or a path (a relative one taken
// against `base_dir`). Network addresses and other schemes give an empty text.
QString local_icon(QStringView src, const QString& base_dir);

// A rating value "x/y" ("7/10", "3.5 / 5") or "n%" in per cent 0 to 100; nothing for other
// forms such as age ratings ("16+", "PG-13").
std::optional<std::int32_t> rating_percent(QStringView value);
std::optional<std::int32_t> rating_percent(std::string_view value);

// A programme's <length> in seconds: units "seconds", "minutes" or "hours"; nothing for anything
// else or a length that is not a positive whole number below a week.
std::optional<std::int64_t> length_seconds(QStringView units, QStringView value);

// The readable mark of an episode-num of the system "xmltv_ns" ("season.episode.part", zero-based,
// each part "n" or "n/total"): "1.9." gives "S2 E10", ".4/12." gives "E5", "0.0.1/2" gives
// "S1 E1 P2/2"; empty when every part is empty, nothing when the text is not of that form.
std::optional<QString> episode_mark(QStringView xmltv_ns);

// A programme's description as a viewer reads it: the episode mark, the sub-title and the
// file's description, each ended with a full stop ("S2 E10. Der Fluch. Kommissar ..."). A
// sub-title equal to the title or with which the description begins is left out.
QString record_text(QStringView title, QStringView mark, QStringView sub_title, QStringView descr);

}  // namespace zt::xmltv
