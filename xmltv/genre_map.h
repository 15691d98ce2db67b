#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace zt::xmltv {

// A genre of the catalogue: family 1 to 8 and sub-genre (0 = the family's "Другой").
struct Genre final {
    std::int32_t family = -1;  // -1: no genre
    std::int32_t sub = -1;
    bool operator==(const Genre&) const = default;
};

// The table that maps the category texts of XMLTV files onto the genre catalogue. Lines are
// "text<TAB>family<TAB>sub"; '#' starts a comment line. See genre_map.tsv for the rules.
class GenreMap final {
public:
    // The table built into the program.
    static const GenreMap& built_in();
    // Reads a table file; on failure `error` names the line and the reason.
    static std::optional<GenreMap> load(const QString& path, QString& error);
    static std::optional<GenreMap> parse(QByteArrayView text, QString& error);

    // The genre of a programme with these categories, in the order the file gives them.
    Genre resolve(const QStringList& categories) const;

private:
    const QList<Genre>* rows_of(const QString& text) const;
    QHash<QString, QList<Genre>> m_rows;  // by normalised text, first row first
};

}  // namespace zt::xmltv
