#include "core/time_zones.h"

#include <cctype>

#include "core/cp1251.h"
#include "core/store.h"

namespace zt {
namespace {

struct preset {
    int hour;
    int minute;
    const char* caption;  // UTF-8
};

constexpr preset kPresets[] = {
    {-12, 0, "(-12:00) Линия перемены дат"},
    {-11, 0, "(-11:00) Самоа"},
    {-10, 0, "(-10:00) Гавайи"},
    {-9, 0, "(-09:00) Аляска"},
    {-8, 0, "(-08:00) Североамериканское тихоокеанское время"},
    {-7, 0, "(-07:00) Горное время, Мексика"},
    {-6, 0, "(-06:00) Центральное, Центральноамериканское время, Мексика"},
    {-5, 0, "(-05:00) Североамериканское восточное, Южноамериканское тихоокеанское время"},
    {-4, 30, "(-04:30) Каракас"},
    {-4, 0, "(-04:00) Атлантическое, Южноамериканское тихоокеанское время, Ла-Пас, Сантьяго"},
    {-3, 30, "(-03:30) Ньюфаундленд"},
    {-3, 0, "(-03:00) Южноамериканское восточное время, Гренландия"},
    {-2, 0, "(-02:00) Среднеатлантическое время"},
    {-1, 0, "(-01:00) Азорские острова, Кабо-Верде"},
    {0, 0, "(00:00) Западноевропейское время, Касабланка, Монровия"},
    {1, 0, "(+01:00) Центральноевропейское, Западное центральноафриканское время"},
    {2, 0, "(+02:00) Калининградское, Восточноевропейское время, Египет, Израиль, Ливан"},
    {3, 0, "(+03:00) Московское, Восточноафриканское время, Ирак, Кувейт, Саудовская Аравия"},
    {3, 30, "(+03:30) Тегеранское время"},
    {4, 0, "(+04:00) Самарское время, ОАЭ, Оман, Азербайджан, Армения"},
    {4, 30, "(+04:30) Афганистан"},
    {5, 0, "(+05:00) Екатеринбургское, Западноазиатское время"},
    {5, 30, "(+05:30) Индия, Шри-Ланка"},
    {5, 45, "(+05:45) Непал"},
    {6, 0, "(+06:00) Омское, Центральноазиатское время"},
    {6, 30, "(+06:30) Мьянма"},
    {7, 0, "(+07:00) Красноярское время, Юго-Восточная Азия"},
    {8, 0, "(+08:00) Иркутское, Западноавстралийское время, Улан-Батор, Китай, Тайвань"},
    {9, 0, "(+09:00) Якутское время, Корея, Япония"},
    {9, 30, "(+09:30) Центральноавстралийское время"},
    {10, 0, "(+10:00) Владивостокское, Восточноавстралийское, Западно-тихоокеанское время"},
    {11, 0, "(+11:00) Магаданское, Центрально-тихоокеанское время"},
    {12, 0, "(+12:00) Камчатское время, Маршалловы острова, Фиджи, Новая Зеландия"},
    {13, 0, "(+13:00) Тонга"},
    {14, 0, "(+14:00) Острова Лайн"},
};

std::string two_digits(long v) {
    return (v < 10 ? "0" : "") + std::to_string(v);
}

}  // namespace

long leading_int(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
    long v = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
        if (v < 100000000) v = v * 10 + (t[i] - '0');
        ++i;
    }
    return neg ? -v : v;
}

void build_time_zones(all_list& store) {
    for (const auto& p : kPresets) store.add_time_gmt(to_cp1251(p.caption), p.hour, p.minute);
}

shift_fields zone_to_fields(const time_gmt& zone) {
    shift_fields f;
    f.plus = zone.hour >= 0;
    f.hours = two_digits(zone.hour < 0 ? -zone.hour : zone.hour);
    f.minutes = two_digits(zone.minute);
    return f;
}

std::string make_shift_text(std::string_view hours_text, std::string_view minutes_text, bool plus) {
    std::string hours = "00";
    long h = 0;
    if (!hours_text.empty()) {
        h = leading_int(hours_text);
        if (h >= 100) {
            h = 99;
            hours = "99";
        } else if (h < 10) {
            hours = two_digits(h < 0 ? 0 : h);
        } else {
            hours = std::string(hours_text);
        }
    }
    std::string minutes = "00";
    long m = 0;
    if (!minutes_text.empty()) {
        m = leading_int(minutes_text);
        if (m >= 60) {
            m = 0;
            minutes = "00";
        } else if (m < 10) {
            minutes = two_digits(m < 0 ? 0 : m);
        } else {
            minutes = std::string(minutes_text);
        }
    }
    if (h <= 0 && m <= 0) return "00:00";
    return std::string(plus ? "+" : "-") + hours + ":" + minutes;
}

DateTime parse_shift(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    const std::size_t colon = text.find(':');
    const long hours = leading_int(text.substr(0, colon));
    const long minutes = colon == std::string_view::npos ? 0 : leading_int(text.substr(colon + 1));
    const long total = hours * 60 + minutes;
    return DateTime::fromMinutes(total < 0 ? 0 : total);
}

std::uint8_t shift_is_plus(std::string_view text) {
    return !text.empty() && text.front() == '+' ? 1 : 0;
}

void set_week(all_list& store) {
    store.week_cur = monday_of_week(store.clock().today());
    store.week_next = store.week_cur.addDays(7);
    const FormatSet sys{"dd.MM.yyyy", "hh:mm", store.day_names};
    store.week_cur_caption = "Текущая ("_cp + sys.formatDate(store.week_cur) + " - " +
                             sys.formatDate(store.week_cur.addDays(6)) + ")";
    store.week_next_caption = "Будущая ("_cp + sys.formatDate(store.week_cur.addDays(7)) + " - " +
                              sys.formatDate(store.week_cur.addDays(13)) + ")";
}

bool time_text_valid(std::string_view text, int max_hours) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view h = text.substr(0, colon);
    const std::string_view m = text.substr(colon + 1);
    auto part_ok = [](std::string_view p) {
        return !p.empty() && p.substr(0, 2).find(' ') == std::string_view::npos &&
               std::isdigit(static_cast<unsigned char>(p.front()));
    };
    return part_ok(h) && part_ok(m) && leading_int(h) <= max_hours && leading_int(m) < 60;
}

}  // namespace zt
