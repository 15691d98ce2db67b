#pragma once

#include <QObject>
#include <memory>

#include "ui/image_lists.h"

namespace zt {

class Application;
class TFChannel;
class TFUpdate;
class TFUpdateSelect;
class WindowDownloadHost;

// The manual download ("Ручное получение телепрограммы", the tray's "Получить телепрограмму",
// "Да" to the empty store's question): the source dialog, then the package list of the server
// or the import file, the selection dialog and the download or import. The main window is
// locked and the automatic download held off (`idle` 0) while it runs. The dialogs live as long
// as this object, so the source dialog keeps its choices between uses.
class ManualDownload final : public QObject {
    Q_OBJECT
public:
    ManualDownload(Application& app, WindowDownloadHost& host);
    ~ManualDownload() override;

    void run();
    bool running() const { return m_running; }

    TFUpdate& source_dialog() { return *m_source; }
    TFUpdateSelect& select_dialog() { return *m_select; }

private:
    // The dialogs and the download, with the session busy; false when the source dialog was
    // cancelled.
    bool run_busy();
    void from_server();
    void from_file();

    Application& m_app;
    WindowDownloadHost& m_host;
    LogoImages m_no_logos;  // the channel card shows the offered channel's own logo
    std::unique_ptr<TFChannel> m_card;
    std::unique_ptr<TFUpdate> m_source;
    std::unique_ptr<TFUpdateSelect> m_select;
    bool m_running = false;
    bool m_paid = false;  // the login check found a paid user
};

}  // namespace zt
