#pragma once

#include <QBitmap>
#include <QImage>
#include <QWidget>

#include "reminders/logic/osd_layout.h"

namespace zt {

struct AlarmOsdSettings;
struct OsdContent;

// The on-screen display drawn once: where it goes and what it shows. `mask` is set when the
// background is see-through (only the texts and images stay visible).
struct OsdPicture final {
    OsdLayout layout;
    QImage image;
    QBitmap mask;
};

// Measures the texts in the font of `settings` (points for the window output, pixel heights
// for the overlay), lays the display out in `area` and draws it: the background in `back`,
// or in the key colour (black; green when the text is black) when `alpha` is on, the white
// frame with the logo, the genre icon, and both texts in `text`.
OsdPicture draw_osd(const OsdContent& content, const AlarmOsdSettings& settings, const QRect& area);

// The window of the on-screen display (`TFAlarmOSD`): shows a drawn picture, never takes the
// keyboard focus or the mouse, stays above other windows; as an overlay it bypasses the window
// manager (X11) so that it stays above full-screen windows too.
class TFAlarmOSD final : public QWidget {
    Q_OBJECT
public:
    explicit TFAlarmOSD(bool overlay);

    void set_picture(const OsdPicture& picture);
    bool overlay() const { return m_overlay; }
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_overlay;
    QImage m_image;
};

}  // namespace zt
