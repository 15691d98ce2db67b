#pragma once

#include <QColor>
#include <QComboBox>

#include "storage/settings.h"

namespace zt {

// A settings colour (0x00BBGGRR) as a QColor and back. System colours (negative values) have
// no fixed RGB; they show as black.
QColor to_qcolor(Colour colour);
Colour from_qcolor(const QColor& colour);

// A colour drop-down list: "Другой..." (a custom colour through the colour dialog), then the
// standard and extended colours with their names and swatches. A colour outside the list
// shows as an extra item "Другой" with its swatch.
class ColourBox final : public QComboBox {
    Q_OBJECT
public:
    explicit ColourBox(QWidget* parent = nullptr);

    void set_colour(Colour colour);
    Colour colour() const { return m_colour; }

signals:
    // The user chose a colour (not sent by set_colour).
    void colour_chosen(Colour colour);

private:
    void item_chosen(int index);
    int add_colour(const QString& name, Colour colour);

    Colour m_colour = 0;
    int m_custom_item = -1;
};

}  // namespace zt
