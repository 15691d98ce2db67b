#include "ui/colour_box.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

namespace zt {

namespace {

struct NamedColour {
    const char* name;
    Colour colour;  // 0x00BBGGRR
};

// The sixteen standard colours and four extended ones.
constexpr NamedColour kColours[] = {
    {"Черный", 0x000000},       {"Темно-красный", 0x000080}, {"Зеленый", 0x008000},
    {"Оливковый", 0x008080},    {"Темно-синий", 0x800000},   {"Пурпурный", 0x800080},
    {"Сине-зеленый", 0x808000}, {"Серый", 0x808080},         {"Серебристый", 0xC0C0C0},
    {"Красный", 0x0000FF},      {"Салатовый", 0x00FF00},     {"Желтый", 0x00FFFF},
    {"Синий", 0xFF0000},        {"Фуксия", 0xFF00FF},        {"Голубой", 0xFFFF00},
    {"Белый", 0xFFFFFF},        {"Мятный", 0xC0DCC0},        {"Небесный", 0xF0CAA6},
    {"Кремовый", 0xF0FBFF},     {"Средне-серый", 0xA4A0A0},
};

QIcon swatch(Colour colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(to_qcolor(colour));
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

}  // namespace

QColor to_qcolor(Colour c) {
    if (c < 0) return QColor(0, 0, 0);
    return QColor(colour_red(c), colour_green(c), colour_blue(c));
}

Colour from_qcolor(const QColor& c) {
    return Colour(c.red() | (c.green() << 8) | (c.blue() << 16));
}

ColourBox::ColourBox(QWidget* parent) : QComboBox(parent) {
    setMaxVisibleItems(10);
    addItem(QStringLiteral("Другой..."));
    for (const NamedColour& c : kColours) add_colour(QString::fromUtf8(c.name), c.colour);
    connect(this, &QComboBox::activated, this, &ColourBox::item_chosen);
}

int ColourBox::add_colour(const QString& name, Colour colour) {
    addItem(swatch(colour), name, QVariant(colour));
    return count() - 1;
}

void ColourBox::set_colour(Colour colour) {
    m_colour = colour;
    const QSignalBlocker block(this);
    int index = findData(QVariant(colour));
    if (index < 0 || index == m_custom_item) {
        if (m_custom_item < 0) m_custom_item = add_colour(QStringLiteral("Другой"), colour);
        setItemIcon(m_custom_item, swatch(colour));
        setItemData(m_custom_item, QVariant(colour));
        index = m_custom_item;
    }
    setCurrentIndex(index);
}

void ColourBox::item_chosen(int index) {
    Colour chosen = m_colour;
    if (index == 0) {
        const QColor c = QColorDialog::getColor(to_qcolor(m_colour), this);
        if (c.isValid()) chosen = from_qcolor(c);
    } else {
        chosen = Colour(itemData(index).toInt());
    }
    set_colour(chosen);
    emit colour_chosen(chosen);
}

}  // namespace zt
