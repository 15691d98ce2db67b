#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

class QXmlStreamReader;

namespace zt::xmltv {

// The text of the current element and its children, at most `limit` characters of it: a field
// is cut to 255 bytes anyway, so a huge text costs no memory. Leaves the reader after the
// element's end.
QString read_text(QXmlStreamReader& xml, qsizetype limit = 4096);
// Skips the current element with its children. Both raise an error on elements nested deeper
// than any schedule needs, since the XML reader keeps every open element.
void skip_element(QXmlStreamReader& xml);

// The text of one of several elements that may repeat in languages (title, desc, display-name):
// the first one, or the first Russian one when the first is not.
struct Preferred final {
    QString text;
    bool russian = false;
    bool set = false;
    // Reads the current element's text and keeps it when it is the better choice.
    void offer(QXmlStreamReader& xml);
};

// A channel icon's local file: a file: URL without a host, or a path (a relative one taken
// against `base_dir`). Network addresses and other schemes give an empty text.
QString local_icon(QStringView src, const QString& base_dir);

// A rating value "x/y" ("7/10", "3.5 / 5") or "n%" in per cent 0 to 100; nothing for other
// forms such as age ratings ("16+", "PG-13").
std::optional<std::int32_t> rating_percent(QStringView value);

// A programme's <length> in seconds: units "seconds", "minutes" or "hours"; nothing for anything
// else or a length that is not a positive whole number below a week.
std::optional<std::int64_t> length_seconds(QStringView units, QStringView value);

// A Russian description of the XML reader's error.
QString xml_error_text(const QXmlStreamReader& xml);

}  // namespace zt::xmltv
