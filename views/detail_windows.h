#pragma once

#include <QObject>
#include <memory>

#include "ui/image_lists.h"

class QAction;
class QWidget;

namespace zt {

struct Settings;
struct chl_local_list;
struct chl_serv_list;
class all_list;
class TFAbout;
class TFAnons;
class TFChannel;

// The detail windows of the main window: the announcement of a programme (the programme pages
// show it for their selected row), the channel card (the channel panel, the managers, a
// download's channel notes) and "О программе" with its menu item.
class DetailWindows final : public QObject {
    Q_OBJECT
public:
    // `logos` is the main window's logo cache; `window` the main window, the windows' parent.
    DetailWindows(const all_list& store, const Settings& settings, LogoImages& logos,
                  QWidget* window);
    ~DetailWindows() override;

    TFAnons& anons_window() const { return *m_anons; }
    // The channel description window (right button in the channel panel, the managers).
    void ShowChannelInfo(const chl_local_list& member);
    void ShowChannelInfo(const chl_serv_list& channel);
    TFChannel& channel_window() const { return *m_channel; }
    // "О программе", modal.
    void ShowAbout();
    // "О программе", made on its first use.
    TFAbout& about_window() const;
    // MHelpAbout "О программе".
    QAction* about_action() const { return m_about_action; }
    // The service named in "О программе" from the settings (after loading them).
    void apply_settings();

private:
    const all_list& m_store;
    const Settings& m_settings;
    LogoImages& m_logos;
    QWidget* m_window;
    std::unique_ptr<TFAnons> m_anons;
    std::unique_ptr<TFChannel> m_channel;
    mutable std::unique_ptr<TFAbout> m_about;
    QAction* m_about_action;
};

}  // namespace zt
