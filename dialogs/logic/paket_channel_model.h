#pragma once

#include <QAbstractTableModel>
#include <QPixmap>
#include <vector>

#include "net/selection.h"

namespace zt {

// The channel list of the selection dialog: one row per entry of the selected package, read
// from the selection lists when the view asks. Column 0 "Каналы в пакете (N)" holds the check
// box (the entry's `ticked`), the channel's name and its 16-pixel logo; column 1 "Время" the
// entry's shift, column 2 "Кнопка" its button label, both centred. Texts are converted from
// CP1251 here.
class PaketChannelModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PaketChannelModel(net::SelectionLists& lists, QObject* parent = nullptr);

    // Shows the entries of package `paket` (a list position; -1 for none).
    void set_paket(int paket);
    int paket() const { return m_paket; }
    net::update_paket_list* current() const;
    // The ticks changed: every row is drawn again.
    void refresh();
    // The lists were filled or emptied: the decoded logos are dropped.
    void reset_lists();
    // Toggles the tick of the entry in `row`.
    void toggle(int row);
    // The 16- and 32-pixel logo of an offered channel (null without one).
    QPixmap logo(std::int32_t index, int size) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    net::SelectionLists& m_lists;
    int m_paket = -1;
    mutable std::vector<QPixmap> m_logos16;
    mutable std::vector<bool> m_decoded;
};

// A picture of the selection lists (a BMP file image) as a pixmap; null when empty or broken.
QPixmap selection_picture(const std::string& bmp);

}  // namespace zt
