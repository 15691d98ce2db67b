#pragma once

#include <QObject>
#include <memory>

#include "managers/manager_window.h"

namespace zt {

class Application;

// "Менеджер": the main window's group controls are torn down, the manager runs modally, and
// afterwards the panels are built again and u.dat and v.dat are written once, under the job
// window's "Сохранение данных...". The manager window is made on its first use (it costs a
// noticeable part of the start-up) and then lives as long as this.
class ManagerCommand final : public QObject {
    Q_OBJECT
public:
    explicit ManagerCommand(Application& app);
    ~ManagerCommand() override;

    void run(TFMgr::Tab tab = TFMgr::channels);
    TFMgr& window();

private:
    void tear_down();
    void rebuild_and_save();

    Application& m_app;
    std::unique_ptr<TFMgr> m_window;  // null until first used
};

}  // namespace zt
