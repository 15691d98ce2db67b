#include "views/detail_windows.h"

#include <QAction>

#include "core/store.h"
#include "net/host_port.h"
#include "storage/settings.h"
#include "ui/menu_items.h"
#include "views/about_window.h"
#include "views/anons_window.h"
#include "views/channel_window.h"

namespace zt {

DetailWindows::DetailWindows(const all_list& store, const Settings& settings, LogoImages& logos,
                             QWidget* window)
    : QObject(window),
      m_store(store),
      m_settings(settings),
      m_logos(logos),
      m_window(window),
      m_anons(std::make_unique<TFAnons>(window)),
      m_channel(std::make_unique<TFChannel>(m_logos, window)),
      m_about_action(make_action(*this, "MHelpAbout", QStringLiteral("О программе"))) {
    connect(m_about_action, &QAction::triggered, this, &DetailWindows::ShowAbout);
}

DetailWindows::~DetailWindows() = default;

void DetailWindows::ShowChannelInfo(const chl_local_list& member) {
    m_logos.refresh(m_store);
    m_channel->ShowChannelInfo(member);
}

void DetailWindows::ShowChannelInfo(const chl_serv_list& channel) {
    m_logos.refresh(m_store);
    m_channel->ShowChannelInfo(channel);
}

TFAbout& DetailWindows::about_window() const {
    if (!m_about) m_about = std::make_unique<TFAbout>(m_window);
    return *m_about;
}

void DetailWindows::ShowAbout() {
    TFAbout& about = about_window();
    about.set_service(service_host(m_settings));
    about.ShowAbout(m_window);
}

void DetailWindows::apply_settings() {
    if (m_about) m_about->set_service(service_host(m_settings));
}

}  // namespace zt
