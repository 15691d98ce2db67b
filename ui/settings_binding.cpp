#include "ui/settings_binding.h"

#include <QAction>
#include <QActionGroup>

#include "storage/settings_store.h"

namespace zt {

void bind_switch(QAction& action, SettingsStore& store, SettingsFlag flag) {
    QObject::connect(&action, &QAction::triggered, &store, [&store, flag](bool checked) {
        store.change([&](Settings& s) { flag(s) = checked; });
    });
    QObject::connect(&store, &SettingsStore::changed, &action,
                     [&action, &store, flag] { action.setChecked(flag(store.model())); });
    action.setChecked(flag(store.model()));
}

void bind_choice(QAction& off, QAction& on, SettingsStore& store, SettingsFlag flag) {
    for (QAction* item : {&off, &on}) {
        QObject::connect(item, &QAction::triggered, &store, [&store, flag, value = item == &on] {
            store.change([&](Settings& s) { flag(s) = value; });
        });
    }
    auto reflect = [&off, &on, &store, flag] { (flag(store.model()) ? on : off).setChecked(true); };
    QObject::connect(&store, &SettingsStore::changed, &on, reflect);
    reflect();
}

void bind_radio(QActionGroup& group, std::vector<std::pair<QAction*, SettingsFlag>> items,
                SettingsStore& store) {
    for (std::size_t k = 0; k < items.size(); ++k) {
        QObject::connect(items[k].first, &QAction::triggered, &store, [&store, items, k] {
            store.change([&](Settings& s) {
                for (std::size_t i = 0; i < items.size(); ++i) items[i].second(s) = i == k;
            });
        });
    }
    auto reflect = [&group, &store, items] {
        for (const auto& [action, flag] : items) {
            if (flag(store.model())) {
                action->setChecked(true);
                return;
            }
        }
        // No flag set: no item checked, which an exclusive group allows only for a moment.
        if (QAction* checked = group.checkedAction()) {
            group.setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            checked->setChecked(false);
            group.setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
        }
    };
    QObject::connect(&store, &SettingsStore::changed, &group, reflect);
    reflect();
}

}  // namespace zt
