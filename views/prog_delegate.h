#pragma once

#include <QColor>
#include <QStyledItemDelegate>

#include "ui/row_painter.h"
#include "views/logic/page_options.h"

namespace zt {

class LogoImages;
struct Settings;

// What the row painter needs, taken from the settings once when they change (never per cell).
struct RowPaintContext final {
    RowColours rows;  // text, background, selection and focus: the palette every list shares
    QColor end{160, 239, 160};
    QColor old{128, 128, 128};
    QColor current{0, 0, 255};
    QColor love_no{255, 224, 224};
    QColor mark{255, 255, 224};
    QColor love_yes{224, 255, 224};
    QColor alarm{224, 224, 255};
    bool logos = true;       // "Логотипы каналов в таблицах"
    bool type_icons = true;  // "Значки типов передач в таблицах"
    int size = 16;           // icon size of the tables
    const LogoImages* logo_list = nullptr;

    // Colours and switches from the view and general settings.
    void take(const Settings& settings);
};

// The reminder mark of "Начало": the settings' colour deepened where it is a pale tint (its hue
// kept, black text still easy to read on it), and a bar at the cell's left edge in the deep
// shade of that hue, so a reminder is seen at a glance whatever pale colour was chosen.
QColor reminder_fill(const QColor& colour);
QColor reminder_bar(const QColor& colour);

// Paints the cells of the programme tables: the row background (selected or not), the
// reminder colour of "Начало", the shrinking "Осталось" bar, the mark or favourite colour of
// "Передача", the text colours of programmes on air and past, the channel logos, the genre
// icons and the announcement and continuation marks. Texts come from the model.
class ProgramRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    ProgramRowDelegate(const RowPaintContext& context, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const RowPaintContext& m_ctx;
};

}  // namespace zt
