#pragma once

#include <QGridLayout>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "storage/settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zt {

class ColourBox;
class SettingsStore;

// A page of the reminder settings window. Its controls show members of the live settings
// model: a change by the user is written into the model at once (the reminder code reads the
// new value at its next use), and every change of the model sets the controls again.
class AlarmSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit AlarmSettingsTab(SettingsStore& store, QWidget* parent = nullptr);

    // Sets every control from the model.
    void load();

protected:
    template <class T>
    using Field = std::function<T&(Settings&)>;

    const Settings& settings() const;
    void change(const std::function<void(Settings&)>& edit);

    // A label in column 0 of `row` ("" for none).
    void add_label(int row, const QString& text);
    QComboBox* add_combo(int row, int column, const char* name, const QStringList& items,
                         Field<int> field);
    QCheckBox* add_check(int row, int column, const char* name, const QString& caption,
                         Field<bool> field);
    ColourBox* add_colour(int row, int column, const char* name, const QString& hint,
                          Field<Colour> field);
    // A read-only path whose hint is its text, with "Открыть файл" and "Очистить" buttons;
    // `on_choice` makes further changes in the same edit when a file was chosen.
    QLineEdit* add_path(int row, const char* name, const char* open_name, const char* clear_name,
                        const QString& filter, Field<std::string> field,
                        std::function<void(Settings&)> on_choice = {});
    QLineEdit* add_text(int row, int column, const char* name, Field<std::string> field);
    // The monitor list, filled again at every load; the stored index when it names a
    // monitor, else "Основном мониторе".
    QComboBox* add_monitor_combo(int row, const char* name, Field<int> field);
    QPushButton* add_button(int row, int column, const char* name, const QString& caption);
    // A further step after the controls were set from the model.
    void on_load(std::function<void()> step) { m_loaders.push_back(std::move(step)); }

    QGridLayout& grid() { return *m_grid; }

private:
    SettingsStore& m_store;
    QGridLayout* m_grid;
    std::vector<std::function<void()>> m_loaders;
};

}  // namespace zt
