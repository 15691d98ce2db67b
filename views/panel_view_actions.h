#pragma once

#include <QString>
#include <array>

class QAction;
class QActionGroup;
class QObject;

namespace zt {

// "Подробно" / "Кратко" and the three items of "Размер шрифта и значков" of one side panel,
// named `prefix` + "Full", "Small", "Size16", "Size24", "Size32". The panel makes and owns
// them and handles them; the menu builder shows them in "Каналы и типы".
struct PanelViewActions final {
    PanelViewActions(QObject& owner, const QString& prefix);

    QString prefix;
    QAction* full = nullptr;
    QAction* small = nullptr;
    std::array<QAction*, 3> sizes{};  // 16, 24, 32

    // The size item of 16, 24 or 32.
    QAction* size_item(int size) const { return sizes[size == 32 ? 2 : size == 24 ? 1 : 0]; }
};

}  // namespace zt
