#include "ui/colour_box.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace zt {
namespace {

struct NamedColour final {
    Colour value;
    const char* name;
};

// The standard sixteen and a few extended colours, as the colour boxes always offered them.
constexpr NamedColour kColours[] = {
    {0x000000, "Чёрный"},       {0x000080, "Бордовый"},       {0x008000, "Зелёный"},
    {0x008080, "Оливковый"},    {0x800000, "Тёмно-синий"},    {0x800080, "Фиолетовый"},
    {0x808000, "Сине-зелёный"}, {0x808080, "Серый"},          {0xC0C0C0, "Серебристый"},
    {0x0000FF, "Красный"},      {0x00FF00, "Салатовый"},      {0x00FFFF, "Жёлтый"},
    {0xFF0000, "Синий"},        {0xFF00FF, "Фуксия"},         {0xFFFF00, "Голубой"},
    {0xFFFFFF, "Белый"},        {0xC0DCC0, "Светло-зелёный"}, {0xF0CAA6, "Небесный"},
    {0xF0FBFF, "Кремовый"},     {0xA4A0A0, "Средне-серый"},
};

QIcon swatch(Colour c) {
    QPixmap p(16, 12);
    p.fill(to_qcolor(c));
    QPainter painter(&p);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 11);
    return QIcon(p);
}

QString custom_name(Colour c) {
    if (is_system_colour(c)) return QStringLiteral("Системный");
    return to_qcolor(c).name().toUpper();
}

}  // namespace

QColor to_qcolor(Colour c) {
    if (is_system_colour(c)) return QColor(Qt::lightGray);
    return QColor(colour_red(c), colour_green(c), colour_blue(c));
}

Colour from_qcolor(const QColor& c) {
    return make_colour(c.red(), c.green(), c.blue());
}

ColourBox::ColourBox(QWidget* parent) : QComboBox(parent) {
    setMaxVisibleItems(10);
    for (const NamedColour& c : kColours)
        addItem(swatch(c.value), QString::fromUtf8(c.name), QVariant(int(c.value)));
    addItem(QStringLiteral("Другой..."));
    connect(this, &QComboBox::activated, this, &ColourBox::chosen);
}

int ColourBox::custom_index() const {
    // The custom entry, when there is one, stands just before "Другой...".
    const int last = count() - 1;
    return last > int(std::size(kColours)) ? last - 1 : -1;
}

Colour ColourBox::colour() const {
    return Colour(itemData(currentIndex()).toInt());
}

void ColourBox::set_colour(Colour colour) {
    for (int i = 0; i < count() - 1; ++i)
        if (itemData(i).toInt() == int(colour)) {
            setCurrentIndex(i);
            m_current = i;
            return;
        }
    const int custom = custom_index();
    if (custom >= 0) {
        setItemIcon(custom, swatch(colour));
        setItemText(custom, custom_name(colour));
        setItemData(custom, QVariant(int(colour)));
        setCurrentIndex(custom);
    } else {
        insertItem(count() - 1, swatch(colour), custom_name(colour), QVariant(int(colour)));
        setCurrentIndex(count() - 2);
    }
    m_current = currentIndex();
}

void ColourBox::chosen(int index) {
    if (index == count() - 1) {
        const QColor picked =
            QColorDialog::getColor(to_qcolor(Colour(itemData(m_current).toInt())), this);
        if (!picked.isValid()) {
            setCurrentIndex(m_current);
            return;
        }
        set_colour(from_qcolor(picked));
    } else {
        m_current = index;
    }
    emit colour_changed(colour());
}

}  // namespace zt
