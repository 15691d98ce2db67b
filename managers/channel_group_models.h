#pragma once

#include "managers/manager_list.h"

namespace zt {

class all_list;
class LogoImages;
struct chl_group_list;

// `ListViewChannelGroup`: name (with the group picture when it has members), number of
// members, description on one line.
class GroupRowsModel final : public ManagerRowsModel {
    Q_OBJECT
public:
    GroupRowsModel(all_list& store, QObject* parent = nullptr);
    // "Группы (" + count + ")".
    void update_caption();

protected:
    int count() const override;
    QVariant cell(int row, int column, int role) const override;

private:
    all_list& m_store;
};

// What the two channel lists share: logos shown or not ("Логотипы каналов в таблицах").
class ChannelRowsModel : public ManagerRowsModel {
    Q_OBJECT
public:
    ChannelRowsModel(QStringList headers, all_list& store, const LogoImages& logos,
                     QObject* parent);
    void set_logos(bool shown) { m_show_logos = shown; }

protected:
    QVariant logo(int index) const;
    all_list& m_store;

private:
    const LogoImages& m_logos;
    bool m_show_logos = true;
};

// `ListViewChannelAll`: the delivered channels with name, group count, id and description.
// A channel in no group has no picture (drawn in "Фон выделения 2").
class AvailableRowsModel final : public ChannelRowsModel {
    Q_OBJECT
public:
    AvailableRowsModel(all_list& store, const LogoImages& logos, QObject* parent = nullptr);
    // "Доступные каналы (" + count + ")".
    void update_caption();

protected:
    int count() const override;
    QVariant cell(int row, int column, int role) const override;
};

// `ListViewChannelInGroup`: the members of the current group with their name, shift, button,
// channel id and own description.
class MemberRowsModel final : public ChannelRowsModel {
    Q_OBJECT
public:
    MemberRowsModel(all_list& store, const LogoImages& logos, QObject* parent = nullptr);
    // The current group, or null.
    chl_group_list* group() const;

protected:
    int count() const override;
    QVariant cell(int row, int column, int role) const override;
};

}  // namespace zt
