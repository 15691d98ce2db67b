#include "ui/minute_tick.h"

#include <QTimer>

#include "core/store.h"

namespace zt {
namespace {

// The clock is looked at every second; a minute's refresh follows its start within a second.
constexpr int kTick = 1000;

}  // namespace

MinuteTick::MinuteTick(const all_list& store, QObject* parent)
    : QObject(parent), m_store(store), m_timer(new QTimer(this)) {
    m_timer->setObjectName(QStringLiteral("TimerTvprogUpdate"));
    m_timer->setInterval(kTick);
    connect(m_timer, &QTimer::timeout, this, &MinuteTick::TimerTvprogUpdateTimer);
}

void MinuteTick::start() {
    m_last_minute = m_store.clock().now().minutes();
    m_timer->setInterval(kTick);
    m_timer->start();
}

void MinuteTick::TimerTvprogUpdateTimer() {
    const std::int64_t minute = m_store.clock().now().minutes();
    if (minute == m_last_minute) return;
    m_last_minute = minute;
    emit minute_started();
}

}  // namespace zt
