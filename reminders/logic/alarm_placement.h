#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zt::reminders {

// Where the reminder window goes in the work area `wa` of its monitor: `pos1` 0 left, 1 centre,
// 2 right; `pos2` 0 top, 1 middle, 2 bottom (halves truncated towards zero).
QPoint alarm_window_place(const QRect& wa, QSize size, int pos1, int pos2);

// The alpha value of "Прозрачность:": 255 for "Нет" (0), 20 × index for "10%" .. "90%".
int alarm_alpha(int index);

// The appearance of "Анимация:" as one change of a value from `from` to the place or alpha
// (`to`): `kind` says what moves.
struct AlarmAnimation final {
    enum class Kind { none, fade, move } kind = Kind::none;
    QPoint from;  // move: the start place
    QPoint to;    // move: the final place
    int alpha_to = 255;
    // The steps of the specified loop (step = distance div 15, stopping before the target);
    // the animation's duration is this times 50 ms.
    int steps = 0;
};

// `anim` 0 none, 1 fade in, 2 from above, 3 from below, 4 from the left, 5 from the right; the
// slides start just outside the work area's edge. `place` is alarm_window_place's result.
AlarmAnimation alarm_animation(int anim, const QRect& wa, QSize size, QPoint place, int alpha);

// The number of steps of the loop "v = start; while v < target: v += (target - start) div 15"
// (at least one when there is any distance).
int animation_steps(int distance);

}  // namespace zt::reminders
