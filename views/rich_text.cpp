#include "views/rich_text.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include "ui/open_address.h"

#include "ui/app_resources.h"
#include "views/logic/rich_text_runs.h"

namespace zt {

LinkLabel::LinkLabel(const QString& word, QWidget* parent) : QLabel(word, parent) {
    QFont f = font();
    f.setUnderline(true);
    f.setBold(false);
    setFont(f);
    // A style sheet, so the colour holds whatever palette the label inherits.
    setStyleSheet(QStringLiteral("color: #0000ff;"));
    setCursor(main_cursor(3));
}

QString LinkLabel::address() const {
    return QString::fromStdString(views::link_address(text().toStdString()));
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated(address());
}

void open_address(const QString& address) {
    open_address_or_say(QUrl(address, QUrl::TolerantMode));
}

RichTextArea::RichTextArea(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(false);
    setFrameShape(QFrame::StyledPanel);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    auto* content = new QWidget;
    content->setBackgroundRole(QPalette::Base);
    setWidget(content);
}

QList<QLabel*> RichTextArea::word_labels() const {
    return widget() ? widget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)
                    : QList<QLabel*>{};
}

void RichTextArea::enterEvent(QEnterEvent* event) {
    QScrollArea::enterEvent(event);
    setFocus(Qt::MouseFocusReason);
}

void RenderRichText(QWidget* window, RichTextArea& area, const QString& text, bool wrap) {
    // Line height and space width in the area's font.
    const QFontMetrics fm(area.font());
    const int space = fm.horizontalAdvance(QLatin1Char(' '));
    const int line_height = fm.height();

    // A fresh content widget replaces every label of the text before.
    auto* content = new QWidget;
    content->setBackgroundRole(QPalette::Base);
    content->setFont(area.font());
    delete area.takeWidget();

    const auto lines = views::split_rich_text(text.toStdString());
    std::vector<std::vector<int>> widths;
    std::vector<std::vector<QLabel*>> labels;
    QFont bold = area.font();
    bold.setBold(true);
    for (const auto& line : lines) {
        auto& w = widths.emplace_back();
        auto& l = labels.emplace_back();
        for (const auto& word : line) {
            const QString t = QString::fromStdString(word.text);
            QLabel* label;
            if (word.link) {
                auto* link = new LinkLabel(t, content);
                QObject::connect(link, &LinkLabel::activated, &area,
                                 [window, a = &area](const QString& address) {
                                     emit a->link_activated(address);
                                     if (window) window->close();
                                     open_address(address);
                                 });
                label = link;
            } else {
                label = new QLabel(t, content);
                if (word.bold) label->setFont(bold);
            }
            label->setTextFormat(Qt::PlainText);
            label->adjustSize();
            // An empty word takes no width but still adds a space.
            w.push_back(t.isEmpty() ? 0 : label->width());
            l.push_back(label);
        }
    }
    const int scroll = area.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int limit = area.width() - scroll - 2;
    const auto places = views::place_rich_words(widths, space, limit, wrap);
    int right = 0, bottom = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        for (std::size_t k = 0; k < labels[i].size(); ++k) {
            QLabel* label = labels[i][k];
            const views::WordPlace& at = places[i][k];
            label->move(at.x, at.line * line_height);
            if (widths[i][k] == 0) label->hide();
            right = std::max(right, at.x + widths[i][k]);
            bottom = std::max(bottom, (at.line + 1) * line_height);
        }
    }
    const int width = wrap ? std::max(limit, 1) : right + 2;
    content->resize(std::max(width, 1), std::max(bottom, 1));
    area.setWidget(content);
    area.verticalScrollBar()->setValue(0);
    area.horizontalScrollBar()->setValue(0);
}

}  // namespace zt
