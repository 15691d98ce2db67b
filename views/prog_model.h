#pragma once

#include <QAbstractTableModel>

#include "views/logic/program_list.h"
#include "views/prog_row_state.h"

namespace zt {

// One programme table's model over the shared row list of the pages. Only the table of the
// active page shows the rows; the others report none. Texts are made on demand from the row
// with the same index (the list keeps the texts that need date arithmetic); the painter takes
// the rest of a row under program_roles::State.
class ProgramTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    ProgramTableModel(views::ProgramList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row of a table line, or null when this table is not the active one or the line is
    // outside the rows.
    const views::tvprog_local_list* row(int line) const;
    bool active() const { return m_active; }
    // The page the rows were made for (decides the on-air colour).
    views::ProgramPage page() const { return m_list.page(); }

    // The rows are about to be replaced: the table lets go of them. `end_rows` shows the new
    // rows (`active`: this table is the active page's).
    void begin_rows();
    void end_rows(bool active);
    // The rows stay, their times changed: every line is redrawn.
    void times_changed();

private:
    views::ProgramList& m_list;
    bool m_active = false;
    bool m_resetting = false;
};

}  // namespace zt
