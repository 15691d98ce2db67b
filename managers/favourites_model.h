#pragma once

#include <memory>

#include "managers/ordered_list_view.h"

namespace zt {

class all_list;
struct chl_serv_list;

// `ListViewLove`: one row per favourite entry of the chosen channel, read from the store when
// painted: "Передачи (N)" (the title), "Сработало" (the day last seen), "Тип" ("Любимая" or
// "Не любимая"). No icons and no space for them.
class LoveModel final : public SelectedRowsModel {
    Q_OBJECT
public:
    explicit LoveModel(const all_list& store, QObject* parent = nullptr);

    // The channel whose entries are listed (null: none, no rows).
    void set_channel(std::shared_ptr<chl_serv_list> channel);
    const std::shared_ptr<chl_serv_list>& channel() const { return m_channel; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const all_list& m_store;
    std::shared_ptr<chl_serv_list> m_channel;
};

}  // namespace zt
