#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>

namespace zt {

// The frame of the message and connection windows: a rectangle in the button-face colour with
// a one-pixel rounded border (corners of a 10 × 10 ellipse) in `line`.
QPixmap frame_picture(QSize size, QColor face, QColor line);

// The 48 × 48 pictures of the small windows, drawn here so they look the same on every desktop.
enum class Picture { information, error, question, job, upload, download };
QPixmap picture(Picture which);

}  // namespace zt
