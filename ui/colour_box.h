#pragma once

#include <QColor>
#include <QComboBox>

#include "storage/settings_values.h"

namespace zt {

// A settings colour (0x00BBGGRR) as a QColor and back. System colours (negative values) have
// no fixed RGB; they show as light grey.
QColor to_qcolor(Colour colour);
Colour from_qcolor(const QColor& colour);

// A colour picker as a drop-down: the standard and extended colours with swatches and names,
// the custom colour last chosen, and "Другой..." which opens the colour dialog. Values are
// the settings' colours (0x00BBGGRR).
class ColourBox final : public QComboBox {
    Q_OBJECT
public:
    explicit ColourBox(QWidget* parent = nullptr);

    Colour colour() const;
    // Selects the colour's entry; a colour not in the list becomes the custom entry.
    void set_colour(Colour colour);

signals:
    // The user chose a colour (not emitted by set_colour).
    void colour_changed(Colour colour);

private:
    void chosen(int index);
    int custom_index() const;

    int m_current = 0;
};

}  // namespace zt
