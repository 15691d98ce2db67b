#include "app/auto_download_controller.h"

#include <QTimer>

#include "core/store.h"

namespace zt {

namespace {
constexpr int kMinute = 60000;
}

AutoDownloadController::AutoDownloadController(all_list& store, SessionState& session,
                                               user_account& user, const Settings& settings,
                                               net::ExchangeContext& exchange,
                                               net::DownloadHost& host,
                                               std::function<void(bool)> lock, QObject* parent)
    : QObject(parent), m_store(store), m_parts{store,    session, user,           settings,
                                               exchange, host,    std::move(lock)} {
    TimerProgAutoPause = new QTimer(this);
    TimerProgAutoPause->setObjectName(QStringLiteral("TimerProgAutoPause"));
    TimerProgAutoPause->setSingleShot(true);
    TimerProgAutoTime = new QTimer(this);
    TimerProgAutoTime->setObjectName(QStringLiteral("TimerProgAutoTime"));
    TimerProgAutoTime->setInterval(kMinute);
    TimerProgAutoTime->setTimerType(Qt::PreciseTimer);
    connect(TimerProgAutoPause, &QTimer::timeout, this,
            &AutoDownloadController::TimerProgAutoPauseTimer);
    connect(TimerProgAutoTime, &QTimer::timeout, this,
            &AutoDownloadController::TimerProgAutoTimeTimer);
}

AutoDownloadController::~AutoDownloadController() = default;

void AutoDownloadController::settings_loaded() {
    if (!daily_timer_on(m_parts.settings))
        TimerProgAutoTime->stop();
    else if (!TimerProgAutoTime->isActive())
        TimerProgAutoTime->start();
}

void AutoDownloadController::start_up() {
    const AutoStartPlan plan = auto_start_plan(m_parts.settings, !m_store.channels.empty());
    if (plan.delay_minutes > 0)
        TimerProgAutoPause->start(plan.delay_minutes * kMinute);
    else if (plan.run_now)
        // After the start-up has returned to the event loop, so the window is drawn first.
        QTimer::singleShot(0, this, &AutoDownloadController::AutoDownload);
    settings_loaded();
}

AutoDownloadResult AutoDownloadController::AutoDownload() {
    const AutoDownloadResult result = zt::AutoDownload(m_parts);
    emit finished(result);
    return result;
}

void AutoDownloadController::TimerProgAutoPauseTimer() {
    TimerProgAutoPause->stop();
    AutoDownload();
}

void AutoDownloadController::TimerProgAutoTimeTimer() {
    // A coarse timer may fire twice within one minute; the daily time runs once.
    const DateTime now = m_store.clock().now();
    if (!daily_time_due(now, m_parts.settings.personal.auto_time)) return;
    if (now.minutes() == m_last_daily_minute) return;
    m_last_daily_minute = now.minutes();
    AutoDownload();
}

}  // namespace zt
