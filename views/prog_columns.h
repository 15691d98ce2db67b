#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <vector>

#include "storage/settings_store.h"

class QCheckBox;

namespace zt {

// "Колонки": which columns of one programme table are shown. It edits a copy of that page's
// column widths in the settings and commits it when it closes.
class TFColTvprog final : public QDialog {
    Q_OBJECT
public:
    explicit TFColTvprog(SettingsStore& settings, QWidget* parent = nullptr);

    // "Канал", "Кнопка", "Начало", "Конец", "Длительность", "Осталось", "Рейтинг".
    std::array<QCheckBox*, 7> boxes{};

    // Shows the dialog for the table of page `page` (0..3), centred on `centre_on`, and
    // returns when it is closed, the choice committed to the settings. A column shown again
    // gets its width from `restored` (the table's widths for its font).
    void ShowFor(int page, std::vector<int> restored, QWidget* centre_on);

    void done(int result) override;

private:
    SettingsStore& m_settings;
    std::optional<SettingsDraft<std::vector<int>>> m_widths;
    std::vector<int> m_restored;
};

}  // namespace zt
