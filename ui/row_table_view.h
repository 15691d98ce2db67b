#pragma once

#include <QTableView>

namespace zt {

// A report list whose columns stay where the user put them: making a row current (a click on
// a half-visible cell, a key, a selection made by the program) scrolls up and down only, never
// sideways, so the first column does not slide out of view. Column captions stand at the left,
// so a caption wider than its column shows its beginning.
class RowTableView : public QTableView {
    Q_OBJECT
public:
    explicit RowTableView(QWidget* parent = nullptr);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
};

}  // namespace zt
