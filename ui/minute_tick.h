#pragma once

#include <QObject>
#include <cstdint>

class QTimer;

namespace zt {

class all_list;

// The clock tick of the running program: looks at the store's clock every second and announces
// each minute the clock enters, once. The programme pages refresh on it, then the reminder scan
// runs (slots run in the order they were connected: the pages connect first).
class MinuteTick final : public QObject {
    Q_OBJECT
public:
    MinuteTick(const all_list& store, QObject* parent = nullptr);

    // Takes the clock's minute as seen (it is not announced) and starts the ticks.
    void start();
    // A tick of the timer: minute_started() once for each minute the clock enters, the minute
    // start() found excepted. A minute is never announced twice in a row, however the ticks
    // fall, and after a suspend or a clock change the first tick announces the minute the clock
    // shows.
    void TimerTvprogUpdateTimer();
    // The timer (TimerTvprogUpdate, one second), stopped while a download has the store.
    QTimer& timer() const { return *m_timer; }

signals:
    void minute_started();

private:
    const all_list& m_store;
    QTimer* m_timer;
    std::int64_t m_last_minute = 0;  // the clock's minute last announced (or found by start)
};

}  // namespace zt
