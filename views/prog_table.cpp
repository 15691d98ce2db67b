#include "views/prog_table.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "ui/header_captions.h"
#include "views/logic/program_list.h"

namespace zt {

ProgramTable::ProgramTable(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* h = horizontalHeader();
    h->setSectionsClickable(true);
    h->setHighlightSections(false);
    h->setSectionsMovable(false);
    // The last shown column (the title, normally) takes the rest of the window's width.
    h->setStretchLastSection(true);
    h->setMinimumSectionSize(4);
    // Narrow columns show the beginning of their caption.
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    h->setTextElideMode(Qt::ElideNone);
    // The title column keeps its minimum width.
    connect(h, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (column == views::col_title && size < views::kTitleMinWidth && size > 0)
            horizontalHeader()->resizeSection(column, views::kTitleMinWidth);
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!m_quiet) emit user_scrolled(m_in_wheel);
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!m_quiet && !m_keeping_column) emit user_scrolled(true);
    });
}

void ProgramTable::set_row_height_for(int icon_size) {
    const int h = std::max(fontMetrics().height(), icon_size) + 3;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(h);
}

std::vector<int> ProgramTable::column_widths() const {
    std::vector<int> widths;
    for (int c = 0; c < views::col_count; ++c) widths.push_back(column_width(c));
    return widths;
}

int ProgramTable::column_width(int column) const {
    const QHeaderView* h = horizontalHeader();
    if (h->isSectionHidden(column)) return 0;
    // The title stretches over the rest of the window; its own width is the one kept.
    return column == views::col_title ? m_title_width : h->sectionSize(column);
}

int ProgramTable::restored_width(int column) const {
    if (column < 0 || column >= views::col_count) return 0;
    const int first_start = views::program_columns()[std::size_t(column)].width;
    const QString widest = QString::fromUtf8(column == views::col_start && m_dated_start
                                                 ? views::kWidestDatedStart
                                                 : views::widest_cell_text(column));
    if (widest.isEmpty()) return first_start;
    // The row painter starts a text at least 3 pixels in and stops a pixel before the cell's
    // edge; two more keep it clear of the grid line.
    return std::max(first_start, fontMetrics().horizontalAdvance(widest) + 6);
}

std::vector<int> ProgramTable::restored_widths() const {
    std::vector<int> widths;
    for (int c = 0; c < views::col_count; ++c) widths.push_back(restored_width(c));
    return widths;
}

void ProgramTable::set_column_width(int column, int width) {
    QHeaderView* h = horizontalHeader();
    if (column < 0 || column >= views::col_count) return;
    if (column == views::col_title) m_title_width = width = std::max(width, views::kTitleMinWidth);
    if (width <= 0) {
        h->hideSection(column);
    } else {
        h->showSection(column);
        h->resizeSection(column, width);
    }
}

void ProgramTable::set_column_widths(const std::vector<int>& widths) {
    const auto& defaults = views::program_columns();
    for (int c = 0; c < views::col_count; ++c) {
        const int first_start = defaults[std::size_t(c)].width;
        const int width = std::size_t(c) < widths.size() ? widths[std::size_t(c)] : first_start;
        // A column at its first-start width shows its caption whole; a width of the user's own
        // is kept as it is.
        set_column_width(c, width == first_start && width > 0
                                ? std::max({width, caption_width(*horizontalHeader(), c),
                                            c == views::col_start ? restored_width(c) : 0})
                                : width);
    }
}

int ProgramTable::top_line() const {
    return verticalScrollBar()->value();
}

void ProgramTable::scroll_to_line(int top) {
    // After a model reset the scroll range is only brought up to date later; do it now so
    // the position is not clamped to the old range.
    executeDelayedItemsLayout();
    updateGeometries();
    verticalScrollBar()->setValue(top);
}

void ProgramTable::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar* across = horizontalScrollBar();
    const int x = across->value();
    m_keeping_column = true;
    QTableView::scrollTo(index, hint);
    across->setValue(x);
    m_keeping_column = false;
}

void ProgramTable::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit left_pressed();
}

void ProgramTable::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit double_clicked_row();
    else
        QTableView::mouseDoubleClickEvent(event);
}

void ProgramTable::enterEvent(QEnterEvent* event) {
    QTableView::enterEvent(event);
    if (m_mouse_focus && isEnabled()) setFocus(Qt::MouseFocusReason);
}

void ProgramTable::wheelEvent(QWheelEvent* event) {
    m_in_wheel = true;
    QTableView::wheelEvent(event);
    m_in_wheel = false;
}

void ProgramTable::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    viewport()->update();
    if (!m_quiet && current.row() != previous.row()) emit selection_moved();
}

void ProgramTable::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    // The focus frame round the current row, less its last pixel line.
    const int y = rowViewportPosition(current.row());
    const int h = rowHeight(current.row());
    const int left = -horizontalOffset();
    const int width = horizontalHeader()->length();
    if (y + h < 0 || y > viewport()->height()) return;
    QPainter p(viewport());
    p.setPen(m_focus_colour);
    p.drawRect(QRect(left, y, width - 1, h - 2));
}

}  // namespace zt
