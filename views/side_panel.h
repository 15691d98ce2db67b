#pragma once

#include <QWidget>
#include <optional>

class QScrollArea;
class QSplitter;
class QTabWidget;

namespace zt {

// Where the side panel is docked: the four position items of "Каналы и типы".
enum class PanelEdge { left, right, top, bottom };

// The side panel `PanelUtils`: the channel panel area `ScrollBoxChannels` and the genre panel
// area `ScrollBoxTypes`, divided by `SplitterUtils`. The channel panel and the genre panel put
// their controls into `ChannelPanelArea` and `GenrePanelArea`.
class SidePanel final : public QWidget {
    Q_OBJECT
public:
    explicit SidePanel(QWidget* parent = nullptr);

    // Upright when docked left or right, lying flat when docked top or bottom.
    bool upright() const { return m_upright; }

    // Arranges the two panels: both shown share the panel half and half (upright: channels
    // above, genres below; lying: channels left, genres right); one shown fills it alone.
    void arrange(bool upright, bool channels, bool types);

    // Sizes of the two panels along the side panel (heights when upright, widths when lying).
    QList<int> panel_sizes() const;
    void set_panel_sizes(int channels, int types);
    // Where the channel and the genre panel are inside the side panel; none while hidden.
    std::optional<QRect> channels_rect() const;
    std::optional<QRect> types_rect() const;
    // The areas the channel and the genre panel are put into, and the genre panel's scroll
    // area.
    QWidget* channel_area() const { return ChannelPanelArea; }
    QWidget* genre_area() const { return GenrePanelArea; }
    QScrollArea* genre_scroll_area() const { return ScrollBoxTypes; }

signals:
    // The side panel changed between upright and lying; the panels lay themselves out again.
    void orientation_changed(bool upright);

private:
    QScrollArea* ScrollBoxChannels = nullptr;
    QSplitter* SplitterUtils = nullptr;
    QScrollArea* ScrollBoxTypes = nullptr;
    QWidget* ChannelPanelArea = nullptr;
    QWidget* GenrePanelArea = nullptr;

    bool m_upright = true;
};

// The window's division between the side panel and the programme pages: `SplitterGeneral`
// holds both, the side panel first for "Слева"/"Вверху" and last for "Справа"/"Внизу".
class SidePanelLayout final : public QObject {
    Q_OBJECT
public:
    SidePanelLayout(QSplitter& general, SidePanel& panel, QWidget& pages);

    // Places the side panel from the menu switches. Neither panel shown hides the side panel
    // and its splitter; no edge (no position item checked) leaves the docking as it is.
    void LayoutSidePanel(std::optional<PanelEdge> edge, bool channels, bool types);

    PanelEdge edge() const { return m_edge; }
    bool upright() const { return m_edge == PanelEdge::left || m_edge == PanelEdge::right; }
    // The side panel's thickness across the window (width upright, height lying).
    int thickness() const;
    // Sets the thickness for the current orientation. It takes effect once the window has its
    // size, at most half of it.
    void set_thickness(int pixels);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void remember_thickness();
    void dock(PanelEdge edge);
    void apply_thickness();

    QSplitter& m_general;
    SidePanel& m_panel;
    QWidget& m_pages;
    PanelEdge m_edge = PanelEdge::left;
    int m_upright_thickness = 160;
    int m_flat_thickness = 200;
    bool m_pending = true;  // the thickness waits for the window's real size
};

}  // namespace zt
