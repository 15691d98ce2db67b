#pragma once

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "reminders/osd_picture.h"

namespace zt {

class LogoImages;
class UserInterface;
namespace reminders {
struct AlarmEvent;
}
struct AlarmOsdSettings;

// What the on-screen display shows of a reminder. Texts are ready for display (UTF-8).
struct OsdContent final {
    QString channel_caption;  // first row, beside the logo: "[001] Канал"
    QString start_text;       // second row, beside the genre icon: start "hh:mm" ...
    QString title_text;       // ... a blank and the title
    QPixmap logo;             // the 32-pixel channel logo; null: the program's picture
    QPixmap genre_icon;       // the 32-pixel genre icon; null: no genre icon
};

// The display of a fired reminder: its caption, start and title, the 32-pixel logo
// `ChannelLogo` of `logos` and the 32-pixel genre icon `GenreIcon` (none for -1).
OsdContent osd_content(const reminders::AlarmEvent& event, const LogoImages& logos);

// The on-screen display (OSD): the newest reminder as a large borderless caption on the
// screen, laid out by osd_layout. The reminder scan and the settings dialog's "Показать" call
// show(); "Убрать" calls hide(). It lives for the whole run.
//
// Output "Окно" (`out` 0): a frameless, always-on-top window that takes no input and no focus,
// on the monitor `monitor` (0 the primary one), placed in its work area by `pos1`/`pos2`.
// Output "Оверлей" (`out` 1): the same picture in a window that bypasses the window manager,
// so it stays above full-screen windows, always on the primary display's whole area. Only an
// X11 session (platform "xcb") can do that; elsewhere show() reports
// "Ошибка оверлея: Оверлей не поддерживается." through the message interface and shows nothing.
// With `alpha` the background is see-through (a colour key: black, or green when the text is
// black), so only the texts and images show.
class AlarmOsd final : public QObject {
    Q_OBJECT
public:
    explicit AlarmOsd(UserInterface& ui, QObject* parent = nullptr);
    ~AlarmOsd() override;

    // AlarmOSDShow: removes the display shown before, then shows `content` with `settings`.
    // `close_after_seconds` > 0 removes it after that time (the reminder's display time);
    // 0 keeps it until it is replaced or hide() is called.
    void show(const OsdContent& content, const AlarmOsdSettings& settings, int close_after_seconds);
    // AlarmOSDHide: stops the close timer and removes the display.
    void hide();

    // True where the overlay output works (an X11 session).
    static bool overlay_supported();

    // The window on screen, or null (tests and screenshots).
    TFAlarmOSD* window() const { return m_window; }
    bool close_timer_active() const { return m_close.isActive(); }

private:
    UserInterface& m_ui;
    QPointer<TFAlarmOSD> m_window;
    QTimer m_close;  // TimerOSDClose
};

}  // namespace zt
