#include "xmltv/read_report.h"

#include <QStringList>

#include <utility>
#include <vector>

namespace zt::xmltv {

namespace {

struct Count {
    std::int64_t value;
    const char* english;
    const char* russian;
};

std::vector<Count> counts(const ReadResult& r) {
    return {
        {r.transliterated_chars, "transliterated characters", "Символов транслитерировано"},
        {r.replaced_chars, "replaced characters", "Символов заменено на «?»"},
        {r.cut_texts, "cut texts", "Текстов обрезано"},
        {r.entities, "undeclared entities", "Необъявленных сущностей"},
        {r.late_programmes, "programmes inside earlier ones skipped",
         "Передач внутри уже прочитанных пропущено"},
        {r.filled_gaps, "gaps filled from a second copy",
         "Передач из второй копии канала в пропусках"},
        {r.open_ended, "last programmes without stop", "Последних передач без конца пропущено"},
        {r.replaced_duplicates, "duplicates replaced", "Повторов передач заменено"},
        {r.zero_length, "zero-length programmes", "Передач нулевой длины"},
        {r.stop_before_start, "stops before start", "Передач с концом раньше начала"},
        {r.skipped_programmes, "programmes skipped", "Передач без канала или начала пропущено"},
        {r.skipped_channels, "channels without id skipped", "Каналов без id пропущено"},
        {r.unknown_zones, "unknown zones", "Неизвестных часовых поясов"},
        {r.bad_fields, "unreadable fields", "Неразобранных полей"},
    };
}

}  // namespace

std::int64_t programmes_left_out(const ReadResult& r) {
    return r.late_programmes + r.open_ended + r.replaced_duplicates + r.skipped_programmes;
}

std::string counts_text(const ReadResult& r) {
    std::string line;
    for (const auto& c : counts(r)) {
        if (c.value == 0) continue;
        if (!line.empty()) line += ", ";
        line += std::string(c.english) + ' ' + std::to_string(c.value);
    }
    for (const QString& p : r.problems) line += '\n' + p.toStdString();
    return line;
}

QString counts_text_ru(const ReadResult& r) {
    QStringList lines;
    for (const auto& c : counts(r))
        if (c.value != 0)
            lines << QStringLiteral("%1: %2").arg(QString::fromUtf8(c.russian)).arg(c.value);
    for (const QString& p : r.problems) lines << p.left(1).toUpper() + p.mid(1);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zt::xmltv
