#include "tools/gen/schedule_generator.h"

#include <array>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "core/cp1251.h"
#include "core/store.h"
#include "core/time_zones.h"

namespace zt::gen {
namespace {

const char* const kChannelWords[] = {"Первый",  "Россия",   "Культура", "Спорт",    "Звезда",
                                     "Мир",     "Домашний", "Пятница",  "Карусель", "Наука",
                                     "Кино",    "Музыка",   "История",  "Природа",  "Детский",
                                     "Новости", "Регион",   "Столица",  "Северный", "Южный"};

// Titles per genre family (index family-1), UTF-8.
const std::array<std::array<const char*, 6>, 8> kTitles = {{
    {"Новости", "Время", "Вести", "Утро России", "Сегодня", "Специальный репортаж"},
    {"Белое солнце пустыни", "Ирония судьбы", "Офицеры", "Москва слезам не верит",
     "Бриллиантовая рука", "Кавказская пленница"},
    {"След", "Улицы разбитых фонарей", "Тайны следствия", "Каменская", "Возвращение Мухтара",
     "Склифосовский"},
    {"Ну, погоди!", "Смешарики", "Фиксики", "Спокойной ночи, малыши!", "Ералаш", "Маша и Медведь"},
    {"Футбол. Чемпионат России", "Хоккей. КХЛ", "Биатлон", "Теннис. Кубок Кремля",
     "Бокс. Бой за титул", "Формула-1"},
    {"Поле чудес", "Что? Где? Когда?", "КВН", "Голос", "Песня года", "Давай поженимся!"},
    {"В мире животных", "Клуб путешественников", "Очевидное - невероятное", "Тайны океана",
     "Планета Земля", "Галилео"},
    {"Лебединое озеро", "Щелкунчик", "Вечер романса", "Большой театр", "Театральный сезон",
     "Линия жизни"},
}};

// Sub-genre counts per family (without the family row).
constexpr std::array<int, 8> kSubs = {3, 11, 7, 5, 16, 6, 3, 4};

const char* const kDescr[] = {"<b>Премьера.</b> Новый выпуск.",
                              "Повтор от вчерашнего дня.",
                              "Прямая трансляция.\r\nВедущий - Иван Петров.",
                              "Подробнее на www.zorvan.example",
                              "Документальный цикл о людях и событиях.",
                              ""};

void put16(std::string& s, std::uint16_t v) {
    s += char(v & 0xFF);
    s += char(v >> 8);
}
void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}

}  // namespace

Profile profile_by_name(const std::string& name) {
    if (name == "tiny") return Profile{"tiny", 3, 3, 12, 2};
    if (name == "small") return Profile{"small", 10, 22, 30, 2};
    if (name == "large") return Profile{"large", 300, 22, 48, 2};
    throw std::invalid_argument("unknown profile: " + name + " (tiny, small or large)");
}

std::string make_bmp(int width, int height, std::uint32_t seed) {
    const int row = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixels = std::uint32_t(row * height);
    std::string s;
    s.reserve(54 + pixels);
    s += "BM";
    put32(s, 54 + pixels);
    put32(s, 0);
    put32(s, 54);
    put32(s, 40);
    put32(s, std::uint32_t(width));
    put32(s, std::uint32_t(height));
    put16(s, 1);
    put16(s, 24);
    put32(s, 0);
    put32(s, pixels);
    put32(s, 2835);
    put32(s, 2835);
    put32(s, 0);
    put32(s, 0);
    const unsigned char r = (seed * 67) & 0xFF, g = (seed * 131 + 40) & 0xFF,
                        b = (seed * 29 + 90) & 0xFF;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const bool stripe = (x + y) % 7 < 2;
            s += char(frame ? 40 : stripe ? 255 - b : b);
            s += char(frame ? 40 : stripe ? 255 - g : g);
            s += char(frame ? 40 : stripe ? 255 - r : r);
        }
        s.append(std::size_t(row - width * 3), '\0');
    }
    return s;
}

void generate(all_list& store, const Profile& profile, DateTime anchor, std::uint32_t seed) {
    std::mt19937 rng(seed);
    auto pick = [&rng](int n) { return int(rng() % std::uint32_t(n)); };
    const DateTime first_day = monday_of_week(anchor).addDays(-8);
    const int day_minutes = 1440;
    const int mean_length = day_minutes / profile.progs_per_day;

    std::int32_t prog_id = 1000;
    for (int ci = 0; ci < profile.channels; ++ci) {
        const std::int32_t id = 100 + ci * 3;
        std::string name = kChannelWords[ci % 20];
        if (ci >= 20) name += " " + std::to_string(ci / 20 + 1);
        const std::int32_t logo = store.add_logo(logo_images{make_bmp(16, 16, std::uint32_t(ci)),
                                                             make_bmp(24, 24, std::uint32_t(ci)),
                                                             make_bmp(32, 32, std::uint32_t(ci))});
        char stamp[9];
        std::snprintf(stamp, sizeof stamp, "%08X", unsigned(rng()));
        auto& channel = *store.add_channel(
            id, to_cp1251(name),
            to_cp1251("<b>" + name +
                      "</b> - телеканал для всей семьи.\r\nСайт: www.zorvan.example"),
            stamp, logo);

        // Favourites and disliked titles: a few per channel, seen recently.
        const int fam_love = pick(8);
        store.add_love(channel, -1, to_cp1251(kTitles[std::size_t(fam_love)][0]), 1,
                       anchor.date().addDays(-pick(20)));
        store.add_love(channel, -1, to_cp1251(kTitles[std::size_t((fam_love + 3) % 8)][1]), 0,
                       anchor.date().addDays(-pick(20)));

        std::int32_t anons_id = 1;
        for (int d = 0; d < profile.days; ++d) {
            const DateTime day = first_day.addDays(d);
            const std::string date = store.fs_file.formatDate(day);
            const bool with_anons = d % 3 != 2;
            int minute = pick(30);  // the first programme starts shortly after midnight
            while (minute < day_minutes) {
                const int length = mean_length / 2 + pick(mean_length) + 1;
                const int family = pick(9);  // 0 = no genre
                const int sub = family == 0 ? 0 : pick(kSubs[std::size_t(family - 1)]);
                const auto& titles = kTitles[std::size_t(family == 0 ? 0 : family - 1)];
                std::string title = titles[std::size_t(pick(6))];
                const DateTime start = day.addMinutes(minute);
                // One in twelve broadcasts is split into two parts by a short news block.
                const bool split = pick(12) == 0 && minute + length + 10 < day_minutes;
                std::int32_t a_id = -1;
                if (with_anons && pick(4) == 0) {
                    a_id = anons_id++;
                    std::string picture;
                    if (pick(5) == 0) picture = make_bmp(64, 48, std::uint32_t(a_id + ci));
                    store.add_anons(channel, a_id,
                                    to_cp1251("Анонс: <b>" + title +
                                              "</b>. Не пропустите! Подробности на "
                                              "http://www.zorvan.example/anons"),
                                    std::move(picture));
                }
                const int rating = pick(101);
                const std::string descr = kDescr[pick(6)];
                const std::uint8_t mark = pick(40) == 0 ? 1 : 0;
                const std::uint8_t alarm = pick(60) == 0 ? 1 : 0;
                const std::int32_t pid = prog_id++;
                const tvprog_fields whole{.id = pid,
                                          .start = start,
                                          .finish = start.addMinutes(length),
                                          .type_family = family,
                                          .type_sub = sub,
                                          .rating = rating,
                                          .title = to_cp1251(title),
                                          .descr = to_cp1251(descr),
                                          .anons_id = a_id,
                                          .mark = mark,
                                          .alarm = alarm};
                if (split) {
                    // The programme in two parts with the news between; the user's marks stay
                    // on the first part.
                    const int half = length / 2;
                    tvprog_fields first = whole;
                    first.continued = 1;
                    first.finish = start.addMinutes(half);
                    store.add_tvprog(channel, first);
                    store.add_tvprog(channel, {.id = prog_id++,
                                               .start = start.addMinutes(half),
                                               .finish = start.addMinutes(half + 10),
                                               .type_family = 1,
                                               .type_sub = 1,
                                               .rating = 10,
                                               .title = "Новости"_cp});
                    tvprog_fields rest = whole;
                    rest.start = start.addMinutes(half + 10);
                    rest.finish = start.addMinutes(length + 10);
                    rest.mark = 0;
                    rest.alarm = 0;
                    store.add_tvprog(channel, rest);
                    minute += length + 10;
                } else {
                    store.add_tvprog(channel, whole);
                    minute += length;
                }
            }
            store.add_dt_local(channel, date, d % 2, with_anons ? 1 : 0);
        }
    }

    // Two groups: everything in order, and a short favourites group with shifts and numbers.
    for (int gi = 0; gi < profile.groups && !store.channels.empty(); ++gi) {
        if (gi == 0) {
            auto g = store.add_chl_group(-1, "Все каналы"_cp, "Все каналы по порядку"_cp);
            int n = 1;
            for (const auto& c : store.channels)
                store.add_chl_local(*g, -1, c->id, c, "", "", "", std::to_string(n++), -1);
        } else {
            auto g = store.add_chl_group(-1, "Избранное"_cp, "Мои каналы"_cp);
            const char* shifts[] = {"+01:00", "-02:00", "00:00", "+03:30"};
            for (std::size_t k = 0; k < store.channels.size() && k < 8; ++k) {
                const std::size_t n = store.channels.size();
                const auto& c = store.channels[n % 7 == 0 ? k : (k * 7) % n];
                store.add_chl_local(*g, -1, c->id, c, c->name + " (мой)"_cp, "Любимый канал"_cp,
                                    shifts[k % 4], k < 4 ? std::to_string(k + 1) : "", -1);
            }
        }
    }
    store.recount_chl_groups();
}

}  // namespace zt::gen
