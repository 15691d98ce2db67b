#include "views/panel_set.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "core/store.h"
#include "storage/settings.h"
#include "views/channel_panel.h"
#include "views/genre_panel.h"
#include "views/logic/view_state.h"
#include "views/side_panel.h"

namespace zt {
namespace {

void fill(QWidget* area, QWidget* content) {
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content);
}

}  // namespace

PanelSet::PanelSet(SidePanel& side, ViewState& view, Settings& settings, LogoImages& logos,
                   QObject* parent)
    : QObject(parent), m_view(view), m_settings(settings) {
    m_channels = new ChannelPanel(view, settings, logos, side.channel_area());
    fill(side.channel_area(), m_channels);
    m_genres = new GenrePanel(view, settings, side.genre_area());
    fill(side.genre_area(), m_genres);
    m_genres->set_scroll_area(side.genre_scroll_area());
    m_channels->set_upright(side.upright());
    connect(&side, &SidePanel::orientation_changed, m_channels, &ChannelPanel::set_upright);
}

PanelSet::~PanelSet() = default;

void PanelSet::set_rebuild(std::function<void()> rebuild) {
    m_channels->set_rebuild(rebuild);
    m_genres->set_rebuild(std::move(rebuild));
}

void PanelSet::set_describe(std::function<void(const chl_local_list&, const QPoint&)> describe) {
    m_channels->set_describe(std::move(describe));
}

void PanelSet::apply_settings() {
    m_genres->BuildGenreControls();
    m_channels->apply_settings();
    m_genres->apply_settings();
}

void PanelSet::collect_settings() {
    m_channels->collect_settings();
}

void PanelSet::apply_view_settings() {
    m_channels->apply_view_settings();
    m_genres->apply_view_settings();
}

void PanelSet::data_loaded(const std::shared_ptr<chl_group_list>& group, bool rebuild_pages) {
    m_genres->BuildGenreControls();  // in case the settings were never applied
    int index = -1;
    const auto& groups = m_view.store.chl_groups;
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (groups[i] == group) index = int(i);
    m_channels->BuildGroupMenus();
    m_channels->SelectGroup(index, rebuild_pages);
    m_genres->BuildGenreGroupMenus();
}

}  // namespace zt
