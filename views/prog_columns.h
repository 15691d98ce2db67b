#pragma once

#include <QDialog>
#include <array>

class QCheckBox;

namespace zt {

class ProgramTable;

// "Колонки": which columns of one programme table are shown. It opens with the table's
// current choice and applies the new one to that table when it closes.
class TFColTvprog final : public QDialog {
    Q_OBJECT
public:
    explicit TFColTvprog(QWidget* parent = nullptr);

    // "Канал", "Кнопка", "Начало", "Конец", "Длительность", "Осталось", "Рейтинг".
    std::array<QCheckBox*, 7> boxes{};

    // Shows the dialog for `table`, centred on `centre_on`, and returns when it is closed.
    void ShowFor(ProgramTable& table, QWidget* centre_on);
    // Takes the table's choice into the boxes / gives the boxes' choice to the table.
    void take_from(const ProgramTable& table);
    void apply_to(ProgramTable& table) const;

    void done(int result) override;

private:
    ProgramTable* m_table = nullptr;
};

}  // namespace zt
