#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;

namespace zt {

// "Добавление передачи" / "Изменение передачи": the title of a favourite entry ("Название:",
// CP1251, at most 255 bytes) and its kind ("Тип:" "Любимая" or "Не любимая"). "Сохранить" hands
// both to `save`, which runs the command or refuses (then the dialog stays open); "Отмена"
// closes.
class FavouriteDialog final : public QDialog {
    Q_OBJECT
public:
    using Save = std::function<bool(const std::string& title_cp1251, std::uint8_t liked)>;
    explicit FavouriteDialog(QWidget* parent = nullptr);

    // Fills the fields and shows the dialog modally; true when it was saved.
    bool run(bool adding, const std::string& title_cp1251, std::uint8_t liked, const Save& save);

    QLineEdit& title_edit() const { return *m_title; }
    QComboBox& kind_box() const { return *m_kind; }

private:
    void save();
    QLineEdit* m_title;
    QComboBox* m_kind;
    Save m_save;
};

}  // namespace zt
