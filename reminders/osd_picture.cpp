#include "reminders/osd_picture.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include "reminders/osd_window.h"
#include "storage/settings_reminders.h"
#include "ui/app_resources.h"

namespace zt {

namespace {

QColor colour_of(Colour c) {
    return QColor(colour_red(c), colour_green(c), colour_blue(c));
}

QFont osd_font(const AlarmOsdSettings& s) {
    QFont font = QGuiApplication::font();
    if (s.out == 1)
        font.setPixelSize(osd_font_pixels(s.size));
    else
        font.setPointSize(osd_font_points(s.size));
    font.setBold(s.bold);
    return font;
}

QSize text_size(const QFontMetrics& fm, const QString& text) {
    return QSize(fm.horizontalAdvance(text), fm.height());
}

}  // namespace

OsdPicture draw_osd(const OsdContent& content, const AlarmOsdSettings& s, const QRect& area) {
    const QFont font = osd_font(s);
    const QFontMetrics fm(font);
    const QString second = content.start_text + QLatin1Char(' ') + content.title_text;
    OsdSizes sizes;
    sizes.text1 = text_size(fm, content.channel_caption);
    sizes.text2 = text_size(fm, second);

    OsdPicture out;
    out.layout = osd_layout(sizes, area, s.pos1, s.pos2);
    const OsdLayout& l = out.layout;

    // A see-through background is a colour key: black, or green when the text is black.
    const QColor key = s.text == 0 ? QColor(0, 128, 0) : QColor(0, 0, 0);
    const QColor fill = s.alpha ? key : colour_of(s.back);
    out.image = QImage(l.size, QImage::Format_RGB32);
    out.image.fill(fill);
    QPainter p(&out.image);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(l.frame.adjusted(0, 0, -1, -1));
    if (!content.logo.isNull()) {
        p.drawPixmap(l.logo, content.logo);
    } else {
        // A channel without a logo shows the program's picture in the square instead of
        // leaving it blank.
        const QRect inside = l.logo.adjusted(2, 2, -2, -2);
        p.drawPixmap(inside, app_icon().pixmap(inside.size()));
    }
    if (!content.genre_icon.isNull()) p.drawPixmap(l.genre, content.genre_icon);
    p.setFont(font);
    p.setPen(colour_of(s.text));
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    p.drawText(l.text1, flags, content.channel_caption);
    p.drawText(l.text2, flags, second);
    p.end();
    // The window shape keeps every pixel that is not the key colour.
    if (s.alpha)
        out.mask = QBitmap::fromImage(out.image.createMaskFromColor(key.rgb(), Qt::MaskInColor));
    return out;
}

TFAlarmOSD::TFAlarmOSD(bool overlay) : QWidget(nullptr), m_overlay(overlay) {
    setObjectName(QStringLiteral("TFAlarmOSD"));
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus;
    if (overlay) flags |= Qt::X11BypassWindowManagerHint;
    setWindowFlags(flags);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void TFAlarmOSD::set_picture(const OsdPicture& picture) {
    m_image = picture.image;
    setFixedSize(picture.layout.size);
    if (picture.mask.isNull())
        clearMask();
    else
        setMask(picture.mask);
    update();
}

void TFAlarmOSD::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}

}  // namespace zt
