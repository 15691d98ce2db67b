#pragma once

#include <QProgressBar>
#include <QWidget>

#include "reminders/logic/alarm_event.h"

class QLabel;
class QPropertyAnimation;
class QTabWidget;
class QToolButton;

namespace zt {

struct Settings;
class LogoImages;

// The reminder window's progress bar: any mouse button pauses or resumes the countdown.
class AlarmProgressBar final : public QProgressBar {
    Q_OBJECT
public:
    using QProgressBar::QProgressBar;
signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The reminder window `TFAlarmWin`: one numbered tab per fired reminder, a close button for the
// current tab and the progress bar of the display time. Always on top, and shown without taking
// the keyboard focus from the window the user works in. Its look follows the window tab of the
// reminder settings, read when a tab is added and when it is shown.
class TFAlarmWin final : public QWidget {
    Q_OBJECT
public:
    // `settings` is the live model: the look is read from it, the window's size is kept in it.
    TFAlarmWin(Settings& settings, const LogoImages& logos, QWidget* parent = nullptr);
    ~TFAlarmWin() override;

    // A tab for `event`, made current; the progress bar restarts at 0 of `bar_max` seconds
    // (hidden with 0: the window then stays until closed).
    void AlarmWinAdd(const reminders::AlarmEvent& event, int bar_max);
    // Places the window on the chosen monitor, sets its transparency and shows it with the
    // chosen animation (run by the event loop, never blocking it).
    void AlarmWinShow();
    // Closes the current tab; the last one closes the window.
    void BitBtnCloseClick();

    int tab_count() const;
    void set_progress(int position);
    // The progress bar's hint: "Пауза" while the countdown runs, "Продолжить" while paused.
    void set_paused(bool paused);

signals:
    void progress_pressed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    AlarmProgressBar* ProgressBar = nullptr;
    QTabWidget* PageControl = nullptr;
    QToolButton* BitBtnClose = nullptr;

    QWidget* make_tab(const reminders::AlarmEvent& event) const;
    void place_controls();
    int icon_size() const;
    void finish_show();

    Settings& m_settings;
    const LogoImages& m_logos;
    QPropertyAnimation* m_anim = nullptr;
    QPoint m_place;
    QRect m_area;                  // the work area the window was placed in
    QSize m_placed_size;           // the framed size the place was worked out for
    bool m_frame_unknown = false;  // shown, and not yet placed by its framed size
    int m_alpha = 255;
    bool m_sized = false;  // the stored size is applied at the first show
    int m_need_width = 0;  // what the channel and the lead of every tab need
};

}  // namespace zt
