#include "core/genres.h"

#include "core/cp1251.h"
#include "core/store.h"

namespace zt {
namespace {

struct genre_row {
    int id;
    int family;
    int sub;
    const char* name;  // UTF-8
    int image;
};

constexpr genre_row kCatalogue[] = {
    {1, 1, -1, "Информация", 4},
    {2, 1, 0, "Другой", -1},
    {3, 1, 1, "Новости", -1},
    {4, 1, 2, "Расследования", -1},
    {5, 2, -1, "Худ. фильмы", 5},
    {6, 2, 0, "Другой", -1},
    {7, 2, 1, "Боевик", -1},
    {8, 2, 2, "Вестерн", -1},
    {9, 2, 3, "Детектив", -1},
    {10, 2, 4, "Комедия", -1},
    {11, 2, 5, "Мелодрама", -1},
    {12, 2, 6, "Мюзикл", -1},
    {13, 2, 7, "Приключения", -1},
    {14, 2, 8, "Триллер", -1},
    {15, 2, 9, "Фантастика", -1},
    {16, 2, 10, "Эротика", -1},
    {17, 3, -1, "Сериалы", 6},
    {18, 3, 0, "Другой", -1},
    {19, 3, 1, "Боевик", -1},
    {20, 3, 2, "Детектив", -1},
    {21, 3, 3, "Комедия", -1},
    {22, 3, 4, "Мелодрама", -1},
    {23, 3, 5, "Приключения", -1},
    {24, 3, 6, "Фантастика", -1},
    {25, 4, -1, "Детям", 7},
    {26, 4, 0, "Другой", -1},
    {27, 4, 1, "Мультфильмы", -1},
    {28, 4, 2, "Образование", -1},
    {29, 4, 3, "Телеигры", -1},
    {30, 4, 4, "Фильмы", -1},
    {31, 5, -1, "Спорт", 8},
    {32, 5, 0, "Другой", -1},
    {33, 5, 1, "Авто и мото спорт", -1},
    {34, 5, 2, "Баскетбол", -1},
    {35, 5, 3, "Бильярд", -1},
    {36, 5, 4, "Бокс", -1},
    {37, 5, 5, "Велоспорт", -1},
    {38, 5, 6, "Водный спорт", -1},
    {39, 5, 7, "Волейбол", -1},
    {40, 5, 8, "Гандбол", -1},
    {41, 5, 9, "Киберспорт", -1},
    {42, 5, 10, "Лыжный спорт", -1},
    {43, 5, 11, "Регби", -1},
    {44, 5, 12, "Теннис", -1},
    {45, 5, 13, "Хоккей", -1},
    {46, 5, 14, "Фигурное катание", -1},
    {47, 5, 15, "Футбол", -1},
    {48, 6, -1, "Развлечения", 9},
    {49, 6, 0, "Другой", -1},
    {50, 6, 1, "Музыка", -1},
    {51, 6, 2, "Мультфильмы для взрослых", -1},
    {52, 6, 3, "Телеигры", -1},
    {53, 6, 4, "Ток-шоу", -1},
    {54, 6, 5, "Юмор", -1},
    {55, 7, -1, "Образование", 10},
    {56, 7, 0, "Другой", -1},
    {57, 7, 1, "Природа и животный мир", -1},
    {58, 7, 2, "Документальные фильмы", -1},
    {59, 8, -1, "Культура", 11},
    {60, 8, 0, "Другой", -1},
    {61, 8, 1, "Балет", -1},
    {62, 8, 2, "Музыка", -1},
    {63, 8, 3, "Спектакли", -1},
};

}  // namespace

void build_types(all_list& store) {
    store.types.clear();
    for (const auto& g : kCatalogue)
        add_type(store, g.id, g.family, g.sub, to_cp1251(g.name), g.image);
    store.index_types();
}

type_serv_list& add_type(all_list& store, std::int32_t id, std::int32_t family, std::int32_t sub,
                         std::string name, std::int32_t image) {
    auto t = std::make_unique<type_serv_list>();
    t->id = id;
    t->family = family;
    t->sub = sub;
    t->name = std::move(name);
    t->image = image;
    t->filter_on = 1;
    store.types.push_back(std::move(t));
    return *store.types.back();
}

std::shared_ptr<type_group_list> add_type_group(all_list& store, std::int32_t id,
                                                std::string name) {
    if (id == -1) {
        const auto next = next_id(store.type_groups);
        if (!next) return nullptr;
        id = *next;
    }
    auto g = std::make_shared<type_group_list>();
    g->id = id;
    g->name = name.empty() ? "Новая "_cp + std::to_string(g->id) : std::move(name);
    store.type_groups.push_back(g);
    return g;
}

void add_type_group_member(type_group_list& group, std::int32_t type_id, std::int32_t row) {
    group.members.push_back(type_group_member{type_id, row});
}

std::string type_group_count(const all_list& store, const type_serv_list& type) {
    int n = 0;
    for (const auto& g : store.type_groups)
        for (const auto& m : g->members)
            if (m.type_id == type.id) {
                ++n;
                break;
            }
    return std::to_string(n);
}

int family_filter_state(const all_list& store, std::int32_t family) {
    bool any_on = false;
    bool all_on = true;
    for (const auto& t : store.types) {
        if (t->family != family || t->sub == -1) continue;
        if (t->filter_on == 1)
            any_on = true;
        else
            all_on = false;
    }
    if (!any_on) return -1;
    return all_on ? 1 : 0;
}

}  // namespace zt
