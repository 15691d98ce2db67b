#include "print/logic/print_paint.h"

#include <QDate>
#include <QLocale>
#include <QPainter>
#include <algorithm>

namespace zt::print {
namespace {

void draw_icon(QPainter& p, const PageSource& s, int index, const QRect& target) {
    if (!s.icons || target.width() <= 0 || target.height() <= 0) return;
    const QImage image = s.icons(index, s.options.colour);
    if (!image.isNull()) p.drawImage(target, image);
}

}  // namespace

QString locale_short_date(DateTime v) {
    int y = 0, m = 0, d = 0;
    v.toParts(y, m, d);
    return QLocale().toString(QDate(y, m, d), QLocale::ShortFormat);
}

QString document_name(const QString& window_title) {
    QString name = window_title.trimmed();
    while (name.endsWith(QLatin1Char('.'))) name.chop(1);
    return name.trimmed();
}

QString header_title(const PrintContext& c) {
    return QStringLiteral("\"ЗОРВАН. Телепрограмма.\" - ") + c.host;
}

QString header_period(const PrintContext& c, const PrintOptions& o, int page, int pages) {
    QString text = locale_short_date(c.week_cur) + QStringLiteral(" - ") +
                   locale_short_date(c.week_cur.addDays(6));
    if (o.page_numbers) text += QStringLiteral(" (стр. %1/%2)").arg(page).arg(pages);
    return text;
}

void DrawPageHeader(QPainter& p, const PageSource& s, int page, int pages) {
    const PrintMetrics& m = s.metrics;
    const QRect& a = m.area;
    const int lh = m.line_height;
    const int right = a.left() + a.width();
    p.setFont(m.font);
    p.setPen(QPen(s.options.font_colour, m.pen));
    p.setBrush(Qt::NoBrush);
    p.drawText(QRect(a.left() + lh, a.top(), std::max(0, a.width() - lh), lh),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, header_title(s.context));
    draw_icon(p, s, 0, QRect(a.left(), a.top(), lh, lh));
    p.drawText(QRect(a.left(), a.top(), a.width(), lh),
               Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
               header_period(s.context, s.options, page, pages));
    p.setPen(QPen(Qt::black, m.pen));
    const int rule = a.top() + lh - m.pen;
    p.drawLine(a.left(), rule, right, rule);
    if (s.options.column_line) {
        const int bottom = a.top() + a.height();
        for (int c = 0; c + 1 < m.columns; ++c) {
            const int x = a.left() + (c + 1) * m.column_width + c * m.gap + m.gap / 2;
            p.drawLine(x, a.top() + lh, x, bottom);
        }
    }
}

void DrawPageLines(QPainter& p, const PageSource& s, int page) {
    const PrintMetrics& m = s.metrics;
    const PrintOptions& o = s.options;
    const int per_page = m.per_page();
    const std::size_t first = std::size_t(std::max(0, (page - 1) * per_page));
    const std::size_t end = std::min(s.lines.size(), first + std::size_t(per_page));
    const int lh = m.line_height;
    p.setFont(m.font);
    for (std::size_t n = first; n < end; ++n) {
        const PrintLine& line = s.lines[n];
        const int k = int(n - first);
        const int y = m.area.top() + lh + (k % m.rows) * lh;
        int x = m.area.left() + (k / m.rows) * (m.column_width + m.gap);
        const int cell_right = x + m.column_width;
        const bool centred = line.centred && !o.one_line;
        for (const PrintWord& w : line.words) {
            const int advance = w.width + m.space_width;
            const int offset =
                centred && advance < m.column_width ? m.column_width / 2 - advance / 2 : 0;
            if (w.highlight) {
                if (o.colour) {
                    p.setPen(QPen(w.colour, m.pen));
                    p.setBrush(w.colour);
                } else {
                    p.setPen(QPen(Qt::black, m.pen));
                    p.setBrush(Qt::NoBrush);
                }
                if (centred)
                    p.drawRect(QRect(x, y, m.column_width, lh));
                else if (x + advance - m.space_width < cell_right)
                    p.drawRect(QRect(x, y, advance - m.space_width, lh));
            }
            p.setPen(QPen(o.font_colour, m.pen));
            p.setBrush(Qt::NoBrush);
            if (w.image <= 0) {
                const int left = x + offset;
                if (left < cell_right)
                    p.drawText(QRect(left, y, cell_right - left, lh),
                               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                               w.text + QLatin1Char(' '));
            } else if (x + lh - m.pen < cell_right) {
                draw_icon(p, s, w.image,
                          QRect(QPoint(x + m.pen, y + m.pen),
                                QPoint(x + lh - m.pen - 1, y + lh - m.pen - 1)));
            }
            x += advance;
        }
    }
}

void DrawPage(QPainter& p, const PageSource& s, int page, int pages) {
    DrawPageHeader(p, s, page, pages);
    DrawPageLines(p, s, page);
}

QImage RenderPageImage(const PageSource& s, int page, int pages, int w, int h) {
    QImage image(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dots_per_metre = int(s.metrics.dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    QPainter p(&image);
    DrawPage(p, s, page, pages);
    return image;
}

}  // namespace zt::print
