#include "views/prog_delegate.h"

#include <QPainter>
#include <algorithm>

#include "storage/settings.h"
#include "ui/image_lists.h"
#include "ui/row_painter.h"
#include "views/prog_row_state.h"

namespace zt {

void RowPaintContext::take(const Settings& settings) {
    const ViewSettings& v = settings.view;
    // The colours the report lists share come from their one palette; the table's own follow,
    // each keeping its default where the settings name a system colour.
    rows = row_colours(v);
    const RowPaintContext d;
    end = settings_colour(v.end, d.end);
    old = settings_colour(v.old, d.old);
    current = settings_colour(v.current, d.current);
    love_no = settings_colour(v.love_no, d.love_no);
    mark = settings_colour(v.mark, d.mark);
    love_yes = settings_colour(v.love_yes, d.love_yes);
    alarm = settings_colour(v.alarm, d.alarm);
    logos = settings.general.channel_logos;
    type_icons = settings.general.type_icons;
}

namespace {

// Least saturation of the reminder fill; lightness of the bar.
constexpr float kFillSaturation = 0.3f;
constexpr float kBarValue = 0.55f;
constexpr int kBarWidth = 3;  // the cell's text starts 3 pixels in, clear of the bar

}  // namespace

QColor reminder_fill(const QColor& colour) {
    float h = 0, s = 0, v = 0, a = 1;
    colour.getHsvF(&h, &s, &v, &a);
    // A grey has no hue to deepen: it is darkened instead, never below a light grey.
    if (h < 0) return QColor::fromHsvF(-1, 0, std::min(v, 0.75f));
    return QColor::fromHsvF(h, std::max(s, kFillSaturation), std::max(v, 0.85f));
}

QColor reminder_bar(const QColor& colour) {
    float h = 0, s = 0, v = 0, a = 1;
    colour.getHsvF(&h, &s, &v, &a);
    if (h < 0) return QColor::fromHsvF(-1, 0, 0.35f);
    return QColor::fromHsvF(h, 1.0f, kBarValue);
}

ProgramRowDelegate::ProgramRowDelegate(const RowPaintContext& context, QObject* parent)
    : QStyledItemDelegate(parent), m_ctx(context) {}

QSize ProgramRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    const int h = std::max(option.fontMetrics.height(), m_ctx.size) + 3;
    const auto& c = views::program_columns();
    const int column = index.column();
    return QSize(column >= 0 && column < views::col_count ? c[std::size_t(column)].width : 50, h);
}

void ProgramRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QVariant state = index.data(program_roles::State);
    if (!state.canConvert<ProgramRowState>()) return;
    const ProgramRowState row = state.value<ProgramRowState>();
    const int column = index.column();
    const QRect r = option.rect;
    const RowPaintContext& c = m_ctx;
    painter->save();
    painter->setClipRect(r);

    // Background of the row, then the fills of single cells.
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(r, selected ? c.rows.select1 : c.rows.back);
    if (column == views::col_start && row.alarm) {
        painter->fillRect(r, reminder_fill(c.alarm));
        painter->fillRect(QRect(r.left(), r.top(), kBarWidth, r.height()), reminder_bar(c.alarm));
    }
    if (column == views::col_title) {
        switch (row.title_fill) {
            case views::TitleFill::mark:
                painter->fillRect(r, c.mark);
                break;
            case views::TitleFill::liked:
                painter->fillRect(r, c.love_yes);
                break;
            case views::TitleFill::disliked:
                painter->fillRect(r, c.love_no);
                break;
            case views::TitleFill::none:
                break;
        }
    }
    // "Осталось": a frame and a bar over the share of the programme still to run.
    if (column == views::col_left && row.left_percent >= 0) {
        painter->setPen(c.end);
        painter->drawRect(r.adjusted(0, 0, -1, -1));
        const int bar = r.width() * row.left_percent / 100;
        if (bar > 0) painter->fillRect(QRect(r.left(), r.top(), bar, r.height()), c.end);
    }

    switch (row.text_colour) {
        case views::RowTextColour::past:
            painter->setPen(c.old);
            break;
        case views::RowTextColour::on_air:
            painter->setPen(c.current);
            break;
        case views::RowTextColour::normal:
            painter->setPen(c.rows.text);
            break;
    }
    painter->setFont(option.font);

    const int size = c.size;
    auto draw_image = [&](const QPixmap& p, int x) {
        painter->drawPixmap(x, r.top() + (r.height() - p.height()) / 2, p);
    };
    int x = r.left();
    int right = r.right() + 1;
    if (column == views::col_channel && c.logos) {
        // The logo's room is kept for every row so the names line up.
        if (c.logo_list && row.logo >= 0)
            if (const QPixmap* logo = c.logo_list->logo(row.logo, size)) draw_image(*logo, x);
        x += size + 3;
    }
    if (column == views::col_title) {
        if (c.type_icons) {
            draw_image(type_icon(row.genre_icon, size), x + 3);
            x += size + 3;
        }
        // The announcement or continuation mark stands at the right edge of a wide enough
        // cell; the text stops before it.
        if (r.width() >= views::kTitleMinWidth && (row.continued || row.has_anons)) {
            draw_image(type_icon(row.continued ? 16 : 12, size), right - size);
            right -= size + 2;
        }
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const QFontMetrics& fm = option.fontMetrics;
        const bool centred = views::program_columns()[std::size_t(column)].centred;
        const int room = right - x;
        const int width = fm.horizontalAdvance(text);
        int tx = x + 3;
        if (centred && width <= room - 7) tx = x + (room - 2) / 2 - width / 2;
        const QRect area(tx, r.top(), std::max(0, right - tx - 1), r.height() - 1);
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          fm.elidedText(text, Qt::ElideRight, area.width()));
    }
    painter->restore();
}

}  // namespace zt
