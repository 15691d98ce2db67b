#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace zt {

struct Settings;
struct ViewState;
struct chl_group_list;
struct chl_local_list;
class ChannelPanel;
class GenrePanel;
class LogoImages;
class SidePanel;

// The side panel's contents and the menus that go with them: the channel panel with "Каналы",
// the genre panel with "Типы". The main window makes one, places the actions and hands its
// start-up and settings calls on.
class PanelSet final : public QObject {
    Q_OBJECT
public:
    PanelSet(SidePanel& side, ViewState& view, Settings& settings, LogoImages& logos,
             QObject* parent = nullptr);
    ~PanelSet() override;

    ChannelPanel& channels() const { return *m_channels; }
    GenrePanel& genres() const { return *m_genres; }

    // What the panels call after a change of the visible schedule (RebuildProgramList).
    void set_rebuild(std::function<void()> rebuild);
    // The channel description window for a member, at a screen point.
    void set_describe(std::function<void(const chl_local_list&, const QPoint&)> describe);

    // After the settings are loaded (the genre catalogue exists by then): the genre controls
    // are built, modes and sizes applied.
    void apply_settings();
    // Before a save: modes, sizes and column widths into the settings model.
    void collect_settings();
    // The view settings changed (font, colours, grid, logos): the panels draw with them.
    void apply_view_settings();
    // After the data are loaded: the group menus, the group to show (`group`, or none), the
    // genre group menus; the programme pages are rebuilt unless `rebuild_pages` is false.
    void data_loaded(const std::shared_ptr<chl_group_list>& group, bool rebuild_pages = true);

private:
    ViewState& m_view;
    Settings& m_settings;
    ChannelPanel* m_channels = nullptr;
    GenrePanel* m_genres = nullptr;
};

}  // namespace zt
