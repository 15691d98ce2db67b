#pragma once

#include <vector>

#include "managers/ordered_list_view.h"

namespace zt {

class all_list;

// `ListViewTypeAll`: one row per genre of the catalogue, read from the store when painted.
// Column 0 is the abbreviation (edited in place) with the genre's check box and icon, then
// "Типы" and "В группах". Family rows are drawn in "Фон выделения 2". The ticks are the tab's.
class TypeAllModel final : public SelectedRowsModel {
    Q_OBJECT
public:
    TypeAllModel(const all_list& store, const std::vector<bool>& ticks, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An edited abbreviation is handed to `abbr_edited`; the tab's command sets it.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void abbr_edited(int row, const QString& text);

private:
    const all_list& m_store;
    const std::vector<bool>& m_ticks;
};

// `ListViewTypeGroup`: one row per genre group ("Группы (N)" with the group's name, edited in
// place, and "Типов"), read from the store when painted; rows can be dragged.
class TypeGroupModel final : public SelectedRowsModel {
    Q_OBJECT
public:
    explicit TypeGroupModel(const all_list& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void rename_requested(int row, const QString& name);

private:
    const all_list& m_store;
};

}  // namespace zt
