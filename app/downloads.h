#pragma once

#include <QObject>
#include <memory>

namespace zt {

class Application;
class AutoDownloadController;
class DownloadWorker;
class ManualDownload;
class WindowDownloadHost;

// The downloads as one feature: the window side shared by the manual and the automatic
// download (its worker, exchange and connection window), the manual command behind
// "Получить" made on its first use, and the automatic download. It keeps the window thread's
// own readers of the store waiting while the worker has the store.
class Downloads final : public QObject {
    Q_OBJECT
public:
    explicit Downloads(Application& app);
    ~Downloads() override;

    WindowDownloadHost& host() { return *m_host; }
    DownloadWorker& worker();
    AutoDownloadController& automatic() { return *m_auto; }
    // The manual download command, made on its first use (null before).
    ManualDownload* manual() { return m_manual.get(); }
    // "Ручное получение телепрограммы": the manual download.
    void run_manual();

private:
    Application& m_app;
    // Declared so that they go in the reverse order: the automatic download, the manual
    // command, then the window side they both use.
    std::unique_ptr<WindowDownloadHost> m_host;
    std::unique_ptr<ManualDownload> m_manual;
    std::unique_ptr<AutoDownloadController> m_auto;
    bool m_tick_held = false;  // the pages' minute tick ran before the worker took the store
};

}  // namespace zt
