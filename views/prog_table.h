#pragma once

#include <QTableView>

namespace zt {

// One programme table: report style, read-only, whole-row selection, one row at a time. It
// tells its owner about the user's doings (a left press on a row, a double click, scrolling,
// a click on the column header) and draws the focus frame round the current row.
class ProgramTable final : public QTableView {
    Q_OBJECT
public:
    explicit ProgramTable(QWidget* parent = nullptr);

    // "Переводить фокус за курсором мыши": the mouse entering the table focuses it.
    void set_mouse_focus(bool on) { m_mouse_focus = on; }
    void set_focus_colour(const QColor& c) { m_focus_colour = c; }
    // Row height for an icon size and the current font.
    void set_row_height_for(int icon_size);

    // Column widths as the settings keep them (a hidden column has width 0), and back.
    std::vector<int> column_widths() const;
    void set_column_widths(const std::vector<int>& widths);
    void set_column_width(int column, int width);
    int column_width(int column) const;
    // The width a column comes back with from the column chooser: its first-start width, or
    // more where the table's font (it grows with the table size) needs more for its widest text.
    int restored_width(int column) const;
    std::vector<int> restored_widths() const;

    // The "Поиск" table: its start column shows the date before the time.
    void set_dated_start(bool on) { m_dated_start = on; }

    // Scrolls so that line `top` is the first visible one.
    void scroll_to_line(int top);
    int top_line() const;
    // Brings the row into view vertically only: selecting a row (a click on a half-visible
    // cell, a key) never slides the columns sideways.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // True while the owner moves the selection or the scroll position itself; the signals
    // below stay quiet then.
    void set_quiet(bool on) { m_quiet = on; }

signals:
    void left_pressed();
    void double_clicked_row();
    // Any scroll by the user; `wide` for a wheel or horizontal scroll.
    void user_scrolled(bool wide);
    void selection_moved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool m_mouse_focus = false;
    bool m_quiet = false;
    bool m_in_wheel = false;
    bool m_keeping_column = false;
    QColor m_focus_colour{128, 128, 128};
    int m_title_width = 0;
    bool m_dated_start = false;  // the title column's own width, under its stretch
};

}  // namespace zt
