#include "storage/settings_store.h"

namespace zt {

SettingsStore::SettingsStore(Settings& settings, QObject* parent)
    : QObject(parent), m_settings(settings) {}

void SettingsStore::change(const std::function<void(Settings&)>& edit) {
    edit(m_settings);
    emit changed();
}

void SettingsStore::reloaded() {
    emit changed();
}

}  // namespace zt
