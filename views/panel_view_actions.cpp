#include "views/panel_view_actions.h"

#include <QAction>
#include <QActionGroup>

#include "ui/menu_items.h"

namespace zt {

PanelViewActions::PanelViewActions(QObject& owner, const QString& prefix_) : prefix(prefix_) {
    auto name = [&](const char* suffix) { return (prefix + QLatin1String(suffix)).toLatin1(); };
    auto* modes = new QActionGroup(&owner);
    full = make_radio(*modes, name("Full").constData(), QStringLiteral("Подробно"), {}, true);
    small = make_radio(*modes, name("Small").constData(), QStringLiteral("Кратко"), {}, false);
    auto* size_group = new QActionGroup(&owner);
    const char* suffixes[3] = {"Size16", "Size24", "Size32"};
    const QString captions[3] = {QStringLiteral("Малый"), QStringLiteral("Средний"),
                                 QStringLiteral("Большой")};
    for (int i = 0; i < 3; ++i)
        sizes[std::size_t(i)] =
            make_radio(*size_group, name(suffixes[i]).constData(), captions[i], {}, i == 0);
}

}  // namespace zt
