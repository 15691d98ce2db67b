#pragma once

#include <QObject>
#include <functional>

#include "storage/settings.h"

namespace zt {

// The live settings of a running program: the one `Settings` model every window and the
// domain code read, with a notification whenever it changes. A menu switch writes its flag
// through change() when toggled and sets its check mark from the model on changed(); nothing
// reads options back from controls.
class SettingsStore final : public QObject {
    Q_OBJECT
public:
    explicit SettingsStore(Settings& settings, QObject* parent = nullptr);

    const Settings& get() const { return m_settings; }
    // The model itself, for values no listener shows (column widths, panel sizes collected
    // before a save) and for loading it whole before reloaded().
    Settings& model() { return m_settings; }
    // Applies `edit` to the model and tells every listener.
    void change(const std::function<void(Settings&)>& edit);
    // The model was replaced as a whole (read from the file): tells every listener.
    void reloaded();

signals:
    void changed();

private:
    Settings& m_settings;
};

// A dialog's working copy of one part of the settings: its controls edit `value`; OK calls
// commit(), which writes the part back in one change; Cancel simply drops the copy. open()
// takes a fresh copy each time the dialog is shown.
template <class Part>
class SettingsDraft final {
public:
    SettingsDraft(SettingsStore& store, std::function<Part&(Settings&)> part)
        : m_store(store), m_part(std::move(part)) {
        open();
    }
    void open() { value = m_part(m_store.model()); }
    void commit() {
        m_store.change([this](Settings& s) { m_part(s) = value; });
    }

    Part value{};

private:
    SettingsStore& m_store;
    std::function<Part&(Settings&)> m_part;
};

}  // namespace zt
