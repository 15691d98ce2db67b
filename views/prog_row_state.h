#pragma once

#include <QMetaType>
#include <Qt>

#include "views/logic/program_list.h"

namespace zt {

// What the programme tables' painter needs of a row besides its texts, published by the model
// under program_roles::State, so the painter never reads the records itself.
struct ProgramRowState final {
    bool alarm = false;  // a reminder is set: "Начало" gets the reminder colour
    views::TitleFill title_fill = views::TitleFill::none;
    int left_percent = -1;  // the "Осталось" bar; -1 draws none
    views::RowTextColour text_colour = views::RowTextColour::normal;
    int logo = -1;  // the channel's logo index, -1 for none
    int genre_icon = 0;
    bool continued = false;  // the continuation mark
    bool has_anons = false;  // the announcement mark
};

namespace program_roles {
// ProgramRowState of the row (any column).
constexpr int State = Qt::UserRole + 50;
}  // namespace program_roles

}  // namespace zt

Q_DECLARE_METATYPE(zt::ProgramRowState)
