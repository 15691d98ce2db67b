#include "reminders/logic/alarm_runner.h"

#include "core/store.h"
#include "reminders/logic/alarm_tables.h"
#include "storage/settings.h"

namespace zt::reminders {

const AlarmScan& AlarmRunner::AlarmCheck() {
    m_scan = reminders::AlarmCheck(m_store, m_settings, m_store.clock().now(), m_index);
    if (m_scan.hits.empty()) return m_scan;
    const AlarmGeneralSettings& g = m_settings.alarm_general;
    m_event = m_scan.hits.back();
    if (m_scan.marks.window) {
        const int bar_max = AlarmDisplaySeconds(g.hide);
        for (const AlarmEvent& hit : m_scan.hits) m_out.window_add(hit, bar_max);
        m_bar = 0;
        m_bar_max = bar_max;
    }
    if (m_scan.marks.any() && !g.prog_start.empty())
        m_out.start_program(g.prog_start, g.prog_param, g.prog_window);
    if (m_scan.marks.window) {
        m_out.close_timer_enable();
        m_out.window_show();
    }
    if (m_scan.marks.sound) {
        m_out.close_timer_enable();
        m_out.sound_play();
    }
    if (m_scan.marks.tray) {
        m_out.close_timer_enable();
        if (g.tray == 0 || m_out.tray_visible()) {
            m_balloon_text = m_scan.TrayText;
            m_out.tray_show(m_event.LeadText, m_scan.TrayText, m_event.HideCountdown * 1000);
        }
    }
    if (m_scan.marks.osd) m_out.osd_show(m_event);
    return m_scan;
}

void AlarmRunner::show_sample(const AlarmEvent& event) {
    const int bar_max = AlarmDisplaySeconds(m_settings.alarm_general.hide);
    m_out.window_add(event, bar_max);
    m_bar = 0;
    m_bar_max = bar_max;
    m_out.close_timer_enable();
    m_out.window_show();
}

void AlarmRunner::tick() {
    // Whether "Убирать:" closes the window and the balloon at all.
    const bool hides = AlarmDisplaySeconds(m_settings.alarm_general.hide) > 0;
    if (m_event.HideCountdown > -1) --m_event.HideCountdown;
    if (m_out.window_tabs() > 0 && hides) {
        if (m_bar >= m_bar_max) {
            m_out.window_close();
        } else {
            m_out.window_progress(++m_bar);
        }
    }
    if (m_event.HideCountdown != 0) return;
    if (m_settings.alarm_sound.stop_at_end) m_out.sound_stop();
    if (!m_balloon_text.empty() && hides) {
        m_balloon_text.clear();
        m_out.tray_clear();
    }
}

}  // namespace zt::reminders
