#include "ui/row_painter.h"

#include <QAbstractItemView>
#include <QPainter>

#include "storage/settings_general.h"
#include "ui/panel_resources.h"

namespace zt {

QColor settings_colour(std::int32_t colour, const QColor& fallback) {
    if (is_system_colour(colour)) return fallback;
    return QColor(colour_red(colour), colour_green(colour), colour_blue(colour));
}

RowColours row_colours(const ViewSettings& view) {
    const RowColours d;
    return {settings_colour(view.text, d.text), settings_colour(view.back, d.back),
            settings_colour(view.select1, d.select1), settings_colour(view.select2, d.select2),
            settings_colour(view.focus, d.focus)};
}

RowPainter::RowPainter(QObject* parent) : QStyledItemDelegate(parent) {
    init_panel_resources();
    m_unchecked = QPixmap(QStringLiteral(":/panels/main/4.png"));
    m_checked = QPixmap(QStringLiteral(":/panels/main/5.png"));
}

QRect RowPainter::check_box_rect(const QRect& cell) {
    return QRect(cell.left(), cell.top() + (cell.height() - 16) / 2, 16, 16);
}

namespace {

int draw_image(QPainter& p, const QPixmap& image, int x, const QRect& cell) {
    const QSize size = image.deviceIndependentSize().toSize();
    p.drawPixmap(x, cell.top() + (cell.height() - size.height()) / 2, image);
    return size.width();
}

}  // namespace

void RowPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const {
    QPainter& p = *painter;
    p.save();
    const QRect cell = option.rect;
    const QModelIndex first = index.siblingAtColumn(0);
    const QVariant decoration0 = first.data(Qt::DecorationRole);
    const QVariant has_image_value = first.data(row_roles::HasImage);
    const bool has_image = has_image_value.isValid() ? has_image_value.toBool()
                                                     : !decoration0.value<QPixmap>().isNull();

    // Background: chosen rows, rows without an image, the rest.
    QColor back = m_colours.back;
    if (first.data(row_roles::Selected).toBool())
        back = m_colours.select1;
    else if (!has_image)
        back = m_colours.select2;
    p.fillRect(cell, back);

    p.setClipRect(cell);
    p.setPen(m_colours.text);
    p.setFont(option.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (index.column() == 0) {
        int x = cell.left();
        if (m_check_boxes) {
            const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            x += draw_image(p, checked ? m_checked : m_unchecked, x, cell) + 3;
        }
        const QPixmap image = decoration0.value<QPixmap>();
        if (!image.isNull())
            x += draw_image(p, image, x, cell) + 3;
        else if (m_image_width > 0)
            x += m_image_width + 3;
        const QPixmap state = index.data(row_roles::StateImage).value<QPixmap>();
        if (!state.isNull())
            x += draw_image(p, state, x, cell) + 3;
        else if (m_state_width > 0)
            x += m_state_width + 3;
        const QRect text_rect(x + 3, cell.top(), cell.right() - x - 2, cell.height());
        p.drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    } else {
        int x = cell.left() + 3;
        const QPixmap image = index.data(Qt::DecorationRole).value<QPixmap>();
        if (!image.isNull()) x += draw_image(p, image, x, cell) + 3;
        const int width = option.fontMetrics.horizontalAdvance(text);
        const bool centred = index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHCenter;
        if (centred && width <= cell.width() - 7) x = cell.left() + (cell.width() - width) / 2;
        const QRect text_rect(x, cell.top(), cell.right() - x + 1, cell.height());
        p.drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }

    // The frame around the focused row: its top and bottom in every cell, its sides in the
    // first and the last column.
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view && view->hasFocus() && view->currentIndex().isValid() &&
        view->currentIndex().row() == index.row()) {
        p.setPen(m_colours.focus);
        const QRect r = cell.adjusted(0, 0, -1, -1);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.bottomLeft(), r.bottomRight());
        if (index.column() == 0) p.drawLine(r.topLeft(), r.bottomLeft());
        if (index.column() == index.model()->columnCount(index.parent()) - 1)
            p.drawLine(r.topRight(), r.bottomRight());
    }
    p.restore();
}

QSize RowPainter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    int image_height = m_image_width;
    const QPixmap image = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!image.isNull())
        image_height = std::max(image_height, image.deviceIndependentSize().toSize().height());
    if (m_check_boxes) image_height = std::max(image_height, 16);
    size.setHeight(std::max({size.height(), image_height + 2, option.fontMetrics.height() + 4}));
    return size;
}

}  // namespace zt
