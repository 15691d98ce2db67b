#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "managers/logic/channel_group_commands.h"

class QLabel;
class QSplitter;
class QToolButton;

namespace zt {

struct ManagerContext;
class ManagerListView;
class GroupRowsModel;
class AvailableRowsModel;
class MemberRowsModel;
class TFMgrChlGrpAdd;
class TFMgrChlGrpEdit;
class TFMgrChlInGrpEdit;
class TFMgrChlInGrpTime;

// The tab "Каналы" of the manager: the channel groups, the delivered channels and the members
// of the current group, with their commands. Every command acts on the store at once through
// the undo stack; selecting a group makes it the store's current group.
class ChannelGroupsTab final : public QWidget {
    Q_OBJECT
public:
    ChannelGroupsTab(ManagerContext& ctx, QWidget* parent = nullptr);
    ~ChannelGroupsTab() override;

    // Before the manager is shown: no current group, lists sized to the store, captions.
    void prepare();
    // After the manager closed: the store already holds everything.
    void finish() {}

    TFMgrChlGrpAdd& add_dialog() const { return *m_add; }
    TFMgrChlGrpEdit& edit_dialog() const { return *m_edit; }
    TFMgrChlInGrpEdit& member_dialog() const { return *m_member; }
    TFMgrChlInGrpTime& time_dialog() const { return *m_time; }

    // The commands (buttons, keys); each does nothing without what it needs.
    void CreateGroup();
    void EditGroup();
    void CopyGroup();
    void DeleteGroups();
    void MoveGroup(int delta);
    void MoveGroupUp() { MoveGroup(-1); }
    void MoveGroupDown() { MoveGroup(1); }
    void SortGroups();
    void AddChannels();
    void EditMember();
    void ShiftMembers();
    void RemoveMembers();
    void MoveMember(int delta);
    void MoveMemberUp() { MoveMember(-1); }
    void MoveMemberDown() { MoveMember(1); }
    void NumberMembers();
    void SortMembersByButton();
    void SortMembersByName();
    void DescribeMember();
    void DeleteChannels();
    void SortChannelsById();
    void SortChannelsByName();
    void DescribeChannel();

private:
    ManagerListView* ListViewChannelGroup = nullptr;
    ManagerListView* ListViewChannelAll = nullptr;
    ManagerListView* ListViewChannelInGroup = nullptr;
    QLabel* LabelCurrentGroup = nullptr;

    void build();
    QToolButton* button(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, void (ChannelGroupsTab::*command)());
    void run(group_commands::Command command);
    // After undo or redo: every list starts over, the current group selected.
    void undone();
    void reset_groups();
    void reset_all();
    // The current group changed: label, members list, buttons.
    void show_current();
    void update_buttons();
    void apply_settings();
    group_ptr current() const;
    member_ptr focused_member() const;
    void move_in(ManagerListView& list, int delta);

    ManagerContext& m_ctx;
    GroupRowsModel* m_groups = nullptr;
    AvailableRowsModel* m_available = nullptr;
    MemberRowsModel* m_members = nullptr;
    TFMgrChlGrpAdd* m_add = nullptr;
    TFMgrChlGrpEdit* m_edit = nullptr;
    TFMgrChlInGrpEdit* m_member = nullptr;
    TFMgrChlInGrpTime* m_time = nullptr;
    std::vector<std::pair<QToolButton*, std::function<bool()>>> m_enabling;
    bool m_pushing = false;
};

}  // namespace zt
