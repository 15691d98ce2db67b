#pragma once

#include <QObject>
#include <memory>

#include "managers/manager_window.h"

namespace zt {

class Application;

// "Менеджер": the main window's group controls are torn down, the manager runs modally, and
// afterwards the panels are built again and u.dat and v.dat are written once, under the job
// window's "Сохранение данных...". The manager window lives as long as this.
class ManagerCommand final : public QObject {
    Q_OBJECT
public:
    explicit ManagerCommand(Application& app);
    ~ManagerCommand() override;

    void run(TFMgr::Tab tab = TFMgr::channels);
    TFMgr& window() const { return *m_window; }

private:
    void tear_down();
    void rebuild_and_save();

    Application& m_app;
    std::unique_ptr<TFMgr> m_window;
};

}  // namespace zt
