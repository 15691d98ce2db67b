#pragma once

#include <QAbstractTableModel>
#include "ui/row_table_view.h"

namespace zt {

class ChannelChoice;
class LogoImages;

// The rows of `ListViewChannels`: one per member of the current channel group, read from the
// store when the view asks (nothing is copied). Column 0 "Канал" is the member's name with its
// logo, column 1 "Кнопка" its number; a row is shown chosen exactly when the member's
// `selected` is 1.
class ChannelListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    ChannelListModel(const ChannelChoice& choice, const LogoImages& logos,
                     QObject* parent = nullptr);

    // The number of rows the list shows; set from the group after it changes.
    void set_count(int count);
    // Sets the count to the current group's member count.
    void recount();
    // The choice flags changed: every row is drawn again.
    void refresh();
    // Logos in the rows ("Логотипы каналов в таблицах") and their size.
    void set_logos(bool shown, int size);
    bool logos_shown() const { return m_show_logos; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const ChannelChoice& m_choice;
    const LogoImages& m_logos;
    int m_count = 0;
    int m_size = 16;
    bool m_show_logos = true;
};

// `ListViewChannels`: clicks and keys on the list become channel choice commands, which the
// channel panel carries out.
class ChannelListView final : public RowTableView {
    Q_OBJECT
public:
    explicit ChannelListView(QWidget* parent = nullptr);

signals:
    // A click or double click on a row, or Space: the focused row is toggled.
    void toggle_requested(int row);
    // Ctrl+A or keypad "+" (1, all), keypad "*" (2, invert), keypad "-" (3, none).
    void bulk_requested(int kind);
    // Keypad "/": the choice mode flips.
    void flip_requested();
    // The right mouse button on a row: the channel's description.
    void describe_requested(int row, const QPoint& global);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace zt
