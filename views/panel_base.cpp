#include "views/panel_base.h"

#include <QAction>
#include <QMenu>

#include "storage/settings.h"
#include "ui/panel_resources.h"
#include "views/panel_view_actions.h"

namespace zt {

PanelBase::PanelBase(ViewState& view, Settings& settings, const Names& names, bool& detailed_choice,
                     int& size_choice, QWidget* parent)
    : QWidget(parent), m_view(view), m_settings(settings) {
    init_panel_resources();
    setObjectName(QString::fromLatin1(names.panel));
    m_menu = new QMenu(names.menu_caption, this);
    m_menu->setObjectName(QString::fromLatin1(names.menu));
    m_view_actions =
        std::make_unique<PanelViewActions>(*this, QString::fromLatin1(names.view_actions));

    // The user's choices go to the settings as they are made.
    auto mode = [this, &detailed_choice](bool detailed) {
        detailed_choice = detailed;
        show_mode(detailed);
    };
    connect(m_view_actions->full, &QAction::triggered, this, [mode] { mode(true); });
    connect(m_view_actions->small, &QAction::triggered, this, [mode] { mode(false); });
    const int sizes[3] = {16, 24, 32};
    for (int i = 0; i < 3; ++i) {
        const int size = sizes[i];
        connect(m_view_actions->sizes[std::size_t(i)], &QAction::triggered, this,
                [this, size, &size_choice] {
                    show_size(size);
                    size_choice = m_size;
                });
    }
}

PanelBase::~PanelBase() = default;

void PanelBase::take_mode(bool detailed) {
    m_detailed = detailed;
    (detailed ? m_view_actions->full : m_view_actions->small)->setChecked(true);
}

void PanelBase::take_size(int size) {
    m_size = normalize_icon_size(size);
    m_view_actions->size_item(m_size)->setChecked(true);
}

void PanelBase::rebuild() {
    if (m_rebuild) m_rebuild();
}

}  // namespace zt
