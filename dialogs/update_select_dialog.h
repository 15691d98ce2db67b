#pragma once

#include <QDialog>
#include <QPixmap>
#include <functional>
#include <memory>

#include "net/download_session.h"
#include "net/selection.h"

class QAbstractProxyModel;
class QCheckBox;
class QLabel;
class QMenu;
class QScrollArea;
class QSplitter;
class QStyledItemDelegate;
class QTableView;
class QToolButton;
class QPushButton;
class QTreeView;

namespace zt {

class PaketChannelModel;
class UserInterface;
namespace net {
class PaketTreeModel;
}

// What the selection dialog borrows from the other window folders; the application supplies
// them (the common row painter, the rich-text area of the detail windows and the channel card).
struct SelectDialogParts final {
    // Paints the channel list's rows with their check boxes; the dialog takes ownership.
    QStyledItemDelegate* row_painter = nullptr;
    // Makes the scrollable description area of the package card.
    std::function<QScrollArea*(QWidget* parent)> make_descr_area;
    // Renders a description (UTF-8 with the rich-text markup) into that area.
    std::function<void(QWidget* window, QScrollArea* area, const QString& text)> render_descr;
    // Shows a channel's card at the mouse pointer.
    std::function<void(const QString& caption, const QString& descr, const QString& time,
                       const QPixmap& logo)>
        show_channel;
};

// The selection dialog: the offered packages as a tree, the chosen package's channels with
// check boxes, the package card and the account state in the status bar. It shows one set of
// selection lists for one use (server package list or import file) and writes the ticks into
// those lists; "Получить" is the only way out that goes on.
class TFUpdateSelect final : public QDialog {
    Q_OBJECT
public:
    // `paid` tells whether the store's user is a paid one ("С анонсами" rule); `held` whether
    // the store holds a channel ("Пометить мои каналы").
    TFUpdateSelect(SelectDialogParts parts, UserInterface& ui, std::function<bool()> paid,
                   std::function<bool(std::int32_t)> held, QWidget* parent = nullptr);
    ~TFUpdateSelect() override;

    // Shows `lists` with the controls' caption, check boxes and status panels.
    void show_lists(net::SelectionLists& lists, const net::DownloadControls& controls);
    // Runs modally centred on `anchor`; true after "Получить". The check boxes go back into
    // `controls` then.
    bool run(QWidget* anchor, net::DownloadControls& controls);
    // ClearSelection's part of the dialog: empty tree, list and card.
    void clear();

    int sel_paket() const { return m_sel_paket; }
    // The number of packages shown (list positions 0 to count - 1).
    int paket_count() const { return m_lists ? int(m_lists->update_pakets.size()) : 0; }
    void select_paket(int list_position);
    // The popup menu's commands and the buttons.
    void mark_all();
    void mark_none();
    void mark_invert();
    void BitBtnMainChannelClick();
    void BitBtnInfoChannelClick();
    void BitBtnNewClick();
    void BitBtnUpdateClick();
    PaketChannelModel* channel_model() const { return m_channels.get(); }

    QMenu* PopupMenuPaketChannel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* PanelL = nullptr;
    QLabel* LabelPaket = nullptr;
    QTreeView* TreeViewPacket = nullptr;
    QWidget* PanelCard = nullptr;
    QLabel* ImageLogo = nullptr;
    QLabel* LabelName = nullptr;
    QScrollArea* ScrollBoxDescr = nullptr;
    QSplitter* SplitterV = nullptr;
    QWidget* PanelR = nullptr;
    QCheckBox* CheckBoxCreateGroup = nullptr;
    QCheckBox* CheckBoxAnons = nullptr;
    QTableView* ListViewPacketChannel = nullptr;
    QToolButton* BitBtnInfoChannel = nullptr;
    QToolButton* BitBtnNew = nullptr;
    QToolButton* BitBtnMainChannel = nullptr;
    QPushButton* BitBtnUpdate = nullptr;  // "Получить"
    QWidget* StatusBar = nullptr;
    std::array<QLabel*, 4> StatusPanels{};

    void build_left();
    void build_right();
    void show_card(const net::update_paket_list* paket);
    void layout_status();

    SelectDialogParts m_parts;
    UserInterface& m_ui;
    std::function<bool()> m_paid;
    std::function<bool(std::int32_t)> m_held;
    net::SelectionLists* m_lists = nullptr;
    net::SelectionLists m_empty;
    std::unique_ptr<net::PaketTreeModel> m_tree;
    std::unique_ptr<QAbstractProxyModel> m_tree_icons;
    std::unique_ptr<PaketChannelModel> m_channels;
    int m_sel_paket = -1;
};

}  // namespace zt
