#include "print/logic/print_metrics.h"

#include <algorithm>
#include <cmath>

namespace zt::print {

int tenth_mm_to_pixels(int tenths, int dpi) {
    return int(std::trunc(double(tenths) * dpi / 254.0));
}

QFont print_font(const PrintOptions& o, int dpi) {
    QFont font(o.font_family);
    font.setPixelSize(std::max(1, int(std::lround(o.font_points * dpi / 72.0))));
    font.setBold(o.font_bold);
    font.setItalic(o.font_italic);
    return font;
}

PrintMetrics SetPrintMetrics(const PrintOptions& o, int dpi, int w, int h) {
    PrintMetrics m;
    m.dpi = std::max(1, dpi);
    m.pen = std::max(1, m.dpi / 96);
    int ml = tenth_mm_to_pixels(o.margin_left, m.dpi);
    int mt = tenth_mm_to_pixels(o.margin_top, m.dpi);
    int mr = tenth_mm_to_pixels(o.margin_right, m.dpi);
    int mb = tenth_mm_to_pixels(o.margin_bottom, m.dpi);
    if (w - ml - mr < 1 || h - mt - mb < 1) {
        ml = mt = mr = mb = 0;
        m.corrections << QStringLiteral(
            "Отступы больше страницы: страница печатается без отступов.");
    }
    m.area = QRect(QPoint(ml, mt), QPoint(std::max(ml, w - mr) - 1, std::max(mt, h - mb) - 1));
    // QRect's right and bottom are inclusive; the layout works with the exclusive edges.
    const int right = m.area.left() + m.area.width();
    m.gap = tenth_mm_to_pixels(o.gap, m.dpi);
    m.columns = o.columns;
    if (m.columns < 1) {
        m.columns = 1;
        m.corrections << QStringLiteral(
            "Количество колонок меньше одной: печатается одна колонка.");
    }
    m.column_width = (right - m.area.left() - (m.columns - 1) * m.gap) / m.columns;
    if (m.column_width < 1) {
        m.columns = 1;
        m.column_width = std::max(1, right - m.area.left());
        m.corrections << QStringLiteral(
            "Колонки не помещаются на странице: печатается одна колонка.");
    }
    m.font = print_font(o, m.dpi);
    m.fm = QFontMetrics(m.font);
    // The height of a line of text such as "А": ascent and descent.
    m.line_height = std::max(1, m.fm.height());
    m.space_width = m.fm.horizontalAdvance(QLatin1Char(' '));
    m.rows = (m.area.height() - m.line_height) / m.line_height;
    if (m.rows < 1) {
        m.rows = 1;
        m.corrections << QStringLiteral(
            "Строка не помещается на странице по высоте: печатается одна строка в колонке.");
    }
    return m;
}

}  // namespace zt::print
