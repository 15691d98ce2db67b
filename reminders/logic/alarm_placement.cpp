#include "reminders/logic/alarm_placement.h"

#include <cstdlib>

namespace zt::reminders {

QPoint alarm_window_place(const QRect& wa, QSize size, int pos1, int pos2) {
    int x = wa.left() + wa.width() - size.width();
    if (pos1 == 0) x = wa.left();
    if (pos1 == 1) x = wa.left() + wa.width() / 2 - size.width() / 2;
    int y = wa.top() + wa.height() - size.height();
    if (pos2 == 0) y = wa.top();
    if (pos2 == 1) y = wa.top() + wa.height() / 2 - size.height() / 2;
    return {x, y};
}

int alarm_alpha(int index) {
    return index >= 1 && index <= 9 ? 20 * index : 255;
}

int animation_steps(int distance) {
    distance = std::abs(distance);
    if (distance == 0) return 0;
    const int step = distance / 15;
    if (step == 0) return 1;  // the loop would never move: go there at once
    return (distance + step - 1) / step;
}

AlarmAnimation alarm_animation(int anim, const QRect& wa, QSize size, QPoint place, int alpha) {
    AlarmAnimation a;
    a.to = place;
    a.from = place;
    a.alpha_to = alpha;
    switch (anim) {
        case 1:
            a.kind = AlarmAnimation::Kind::fade;
            a.steps = animation_steps(alpha);
            return a;
        case 2:
            a.from.setY(wa.top() - size.height());
            break;
        case 3:
            a.from.setY(wa.top() + wa.height());
            break;
        case 4:
            a.from.setX(wa.left() - size.width());
            break;
        case 5:
            a.from.setX(wa.left() + wa.width());
            break;
        default:
            return a;
    }
    a.kind = AlarmAnimation::Kind::move;
    a.steps = animation_steps((a.to - a.from).manhattanLength());
    return a;
}

}  // namespace zt::reminders
