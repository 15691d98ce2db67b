#include "xmltv/genre_map.h"

#include <QFile>
#include <QRegularExpression>

#include "core/genres.h"
#include "core/store.h"

namespace zt::xmltv {

namespace {

// Lower case, "ё" as "е", white space collapsed.
QString normalise(const QString& text) {
    QString s = text.simplified().toLower();
    s.replace(QChar(0x451), QChar(0x435));
    return s;
}

bool in_catalogue(const Genre& g) {
    static const auto store = [] {
        auto s = std::make_unique<all_list>();
        build_types(*s);
        return s;
    }();
    return g.sub >= 0 && store->find_type(g.family, g.sub) != nullptr;
}

}  // namespace

const GenreMap& GenreMap::built_in() {
    static const GenreMap map = [] {
        QFile file(QStringLiteral(":/xmltv/genre_map.tsv"));
        QString error;
        std::optional<GenreMap> m;
        if (file.open(QIODevice::ReadOnly)) m = parse(file.readAll(), error);
        // The built-in table is checked by the tests; a broken build maps nothing.
        return m ? *m : GenreMap();
    }();
    return map;
}

std::optional<GenreMap> GenreMap::load(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("не удалось открыть таблицу жанров «%1»: %2")
                    .arg(path, file.errorString());
        return std::nullopt;
    }
    auto map = parse(file.readAll(), error);
    if (!map) error = QStringLiteral("таблица жанров «%1»: %2").arg(path, error);
    return map;
}

std::optional<GenreMap> GenreMap::parse(QByteArrayView text, QString& error) {
    GenreMap map;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        bool family_ok = false, sub_ok = false;
        Genre g;
        if (fields.size() == 3) {
            g.family = fields[1].trimmed().toInt(&family_ok);
            g.sub = fields[2].trimmed().toInt(&sub_ok);
        }
        const QString key = fields.isEmpty() ? QString() : normalise(fields[0]);
        if (!family_ok || !sub_ok || key.isEmpty() || !in_catalogue(g)) {
            error = QStringLiteral(
                        "строка %1: ожидается «текст<TAB>семейство<TAB>поджанр» "
                        "с жанром из каталога")
                        .arg(i + 1);
            return std::nullopt;
        }
        auto& rows = map.m_rows[key];
        if (!rows.contains(g)) rows.append(g);
    }
    return map;
}

const QList<Genre>* GenreMap::rows_of(const QString& text) const {
    const auto it = m_rows.constFind(text);
    return it == m_rows.constEnd() ? nullptr : &*it;
}

Genre GenreMap::resolve(const QStringList& categories) const {
    // Known texts in order; an unknown text is tried again in its parts ("Movie / Drama").
    static const QRegularExpression separators(QStringLiteral("[/,;]"));
    QList<const QList<Genre>*> known;
    for (const QString& category : categories) {
        const QString key = normalise(category);
        if (const auto* rows = rows_of(key)) {
            known.append(rows);
            continue;
        }
        for (const QString& part : key.split(separators, Qt::SkipEmptyParts))
            if (const auto* rows = rows_of(part.trimmed())) known.append(rows);
    }
    if (known.isEmpty()) return {};
    // A text whose first row is a family alone ("Сериал") picks that family for the others.
    QList<std::int32_t> families;
    for (const auto* rows : known)
        if (rows->front().sub == 0) families.append(rows->front().family);
    for (const auto* rows : known)
        for (const Genre& g : *rows)
            if (g.sub > 0 && families.contains(g.family)) return g;
    // A family the file names beats a sub-genre of another family ("Sport" with "Action").
    if (!families.isEmpty()) return {families.front(), 0};
    // Otherwise the first text that names a sub-genre, else the first text.
    for (const auto* rows : known)
        if (rows->front().sub > 0) return rows->front();
    return known.front()->front();
}

}  // namespace zt::xmltv
