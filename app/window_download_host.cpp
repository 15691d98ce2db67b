#include "app/window_download_host.h"

#include <QDesktopServices>
#include <QTimer>
#include <QUrl>

#include "app/application.h"
#include "core/store.h"
#include "dialogs/app_ui.h"
#include "dialogs/connection_view.h"
#include "dialogs/news_window.h"
#include "dialogs/progress_window.h"
#include "net/download_session.h"
#include "net/exchange_fetch.h"
#include "net/host_port.h"
#include "net/self_update.h"
#include "storage/data_files.h"
#include "views/channel_panel.h"
#include "views/main_window.h"
#include "views/panel_set.h"
#include "views/program_pages.h"
#include "views/tray.h"

namespace zt {
namespace {

// The news page's exchange says nothing: a page that cannot be fetched is a line in the window.
class SilentUi final : public UserInterface {
public:
    bool show_msg(MsgKind, const std::string&) override { return false; }
};

// The news page's exchange keeps the connection window closed but still counts in the statistics.
// It ends early when the program closes (`closing`), so that nothing waits for it.
class QuietView final : public net::ExchangeView {
public:
    QuietView(net::ExchangeView& statistics, std::shared_ptr<std::atomic<bool>> closing,
              std::uint8_t& cancel)
        : m_statistics(statistics), m_closing(std::move(closing)), m_cancel(cancel) {}
    void show_labels(const net::ExchangeLabels&) override {}
    void tick() override {
        if (m_closing->load()) m_cancel = 1;  // read on this same thread
    }
    void show_traffic(const std::string& sent, const std::string& received) override {
        m_statistics.show_traffic(sent, received);
    }

private:
    net::ExchangeView& m_statistics;
    std::shared_ptr<std::atomic<bool>> m_closing;
    std::uint8_t& m_cancel;
};

QString ok_page(bool ok, const std::string& body) {
    return ok ? QString::fromUtf8(body.data(), qsizetype(body.size()))
              : QStringLiteral("<p>Новости недоступны.</p>");
}

QUrl service_url(const Settings& settings, const QString& path) {
    const HostPort host = service_host(settings);
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QString::fromStdString(host.host));
    if (host.port != 80) url.setPort(host.port);
    url.setPath(path);
    return url;
}

}  // namespace

WindowDownloadHost::WindowDownloadHost(Application& app)
    : m_app(app),
      m_view(std::make_unique<ConnectionView>(&app.progress_window(), &app.stat_window())),
      m_worker_ui(m_worker, app.ui()),
      m_worker_view(m_worker, *m_view, app.session().net_cancel),
      m_worker_host(m_worker, *this, app.session().job_cancel),
      m_exchange(std::make_unique<net::ExchangeContext>(m_worker_ui, m_worker_view,
                                                        app.session().net_cancel, m_traffic)) {}

WindowDownloadHost::~WindowDownloadHost() {
    // A news page still on its way is given up; the worker then waits for its thread.
    m_closing->store(true);
}

net::ExchangeContext& WindowDownloadHost::exchange() {
    m_exchange->service = net::service_text(m_app.settings());
    m_exchange->proxy = m_app.settings().proxy;
    return *m_exchange;
}

void WindowDownloadHost::job_begin(const std::string& text, bool with_cancel, bool with_percent) {
    m_app.ui().job_begin(text, with_cancel, with_percent);
}

void WindowDownloadHost::job_progress(int percent) {
    // Applying, maintenance and saving run on the worker, which posts its percentages here; the
    // window thread is free between them.
    m_app.ui().job_progress(percent);
}

bool WindowDownloadHost::job_cancelled() const {
    return m_app.ui().job_cancelled();
}

void WindowDownloadHost::job_end() {
    m_app.ui().job_end();
}

void WindowDownloadHost::show_connection_window() {
    m_app.progress_window().open_centred();
}

void WindowDownloadHost::hide_connection_window() {
    m_app.progress_window().hide();
}

void WindowDownloadHost::logo_replaced(std::int32_t) {
    // The logo lists decode again from the store when the panels and the tables are rebuilt
    // (channels_changed, after_download).
}

void WindowDownloadHost::channels_changing() {
    ChannelPanel& channels = m_app.main_window().panels().channels();
    channels.ClearGroupMenus();
    channels.SelectGroup(-1);
}

void WindowDownloadHost::channels_changed() {
    m_app.main_window().panels().data_loaded(m_app.store().ensure_default_group());
}

void WindowDownloadHost::rebuild_lists() {
    channels_changed();
    m_app.main_window().programs().RebuildProgramList();
}

void WindowDownloadHost::after_download() {
    for (const auto& step : after_download_steps()) step();
}

std::vector<std::function<void()>> WindowDownloadHost::after_download_steps() {
    // The channel panel and the programme pages in separate turns of the event loop, each
    // rebuilt once.
    return {
        [this] {
            m_app.main_window().panels().data_loaded(m_app.store().ensure_default_group(), false);
        },
        [this] { m_app.main_window().programs().RebuildProgramList(); },
        [this] {
            m_app.main_window().LockMainWindow(false);
            job_end();
            ShowNews();
        },
    };
}

void WindowDownloadHost::ShowNews() {
    if (m_news) m_news->close();
    TFMain& main = m_app.main_window();
    m_news = new NewsWindow(&main);
    const QUrl home = service_url(m_app.settings(), QStringLiteral("/"));
    m_news->show_page(QStringLiteral("<p>Загрузка...</p>"), home);
    m_news->show();
    // One GET of the home page through the program's own transport, without messages, once
    // the download that opened the window has finished.
    QTimer::singleShot(0, m_news.data(), [this, news = m_news, home] { fetch_news(news, home); });
}

void WindowDownloadHost::fetch_news(QPointer<NewsWindow> news, const QUrl& home) {
    // The page comes on the worker while the window thread goes on; the window shows it when
    // it is there.
    struct Fetch final {
        SilentUi silent;
        std::uint8_t cancel = 0;
        QuietView view;
        net::ExchangeContext ctx;
        std::string body;
        bool ok = false;
        Fetch(net::ExchangeView& statistics, std::shared_ptr<std::atomic<bool>> closing,
              net::TrafficCounters& traffic)
            : view(statistics, std::move(closing), cancel), ctx(silent, view, cancel, traffic) {}
    };
    auto fetch = std::make_shared<Fetch>(m_worker_view, m_closing, m_traffic);
    net::ExchangeContext& ctx = fetch->ctx;
    ctx.service = net::service_text(m_app.settings());
    ctx.proxy = m_app.settings().proxy;
    ctx.limits.connect_timeout = ctx.limits.send_timeout = ctx.limits.receive_timeout =
        std::chrono::milliseconds(10000);
    m_worker.start(
        [fetch] { fetch->ok = net::HttpExchange(fetch->ctx, "/", "", false, "", fetch->body); },
        [fetch, news, home] {
            if (!news) return;  // closed while the page was on its way
            news->show_page(ok_page(fetch->ok, fetch->body), home);
        });
}

bool WindowDownloadHost::may_write_favourites() const {
    return m_app.start_up().may_write_v();
}

bool WindowDownloadHost::may_write_marks() const {
    return m_app.start_up().may_write_m();
}

void WindowDownloadHost::run_self_update() {
    all_list& store = m_app.store();
    net::ExchangeFetch fetch(exchange(), net::kScript, &m_worker_host);
    const net::UpdateContext ctx{store.exe_dir, m_worker_ui, fetch};
    m_worker.run(
        [&] {
            net::SelfUpdate(
                ctx,
                [this] {
                    // The script may replace the program: everything is on disk before it
                    // runs (on the window thread, which owns the settings).
                    m_worker.call([this] {
                        const DataContext data = m_app.start_up().data_context();
                        save_data_files(data, true, true, true, true);
                        m_app.start_up().save_settings();
                    });
                },
                [this] {
                    m_worker.call([this] {
                        QDesktopServices::openUrl(
                            service_url(m_app.settings(), QString())
                                .resolved(QUrl(QString::fromLatin1(net::kVersionHistoryPath))));
                    });
                });
        },
        true);
}

void WindowDownloadHost::end_application() {
    m_app.ExitProgram();
}

void WindowDownloadHost::tray_notice(const std::string& title, const std::string& text) {
    // The balloon of the automatic download: shown for 10 s, and only while the tray icon is.
    Tray& tray = m_app.main_window().tray();
    if (tray.visible())
        tray.show_balloon(QString::fromStdString(title), QString::fromStdString(text), 10000);
}

}  // namespace zt
