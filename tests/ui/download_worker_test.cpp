// The download's work runs on a worker thread: no event of the window thread runs inside an
// exchange, the window thread keeps running its own meanwhile, and "Отмена" in the connection
// window ends a slow reply through the cancel flag the worker reads.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>

#include "app/application.h"
#include "app/download_worker.h"
#include "app/window_download_host.h"
#include "core/store.h"
#include "dialogs/msg_window.h"
#include "dialogs/progress_window.h"
#include "dialogs/update_source_dialog.h"
#include "modal_script.h"
#include "net/http_exchange.h"
#include "test_support.h"
#include "tools/peers/peers.h"
#include "ui_helpers.h"
#include "views/main_window.h"

namespace zt {
namespace {

using test::ModalScript;

// Set by the thread that runs the exchange for as long as the exchange runs.
thread_local bool t_inside_exchange = false;

// Records the threads the exchange's ticks come on.
class TickRecorder final : public net::ExchangeView {
public:
    void show_labels(const net::ExchangeLabels&) override {}
    void tick() override {
        ++ticks;
        if (QThread::currentThread() == qApp->thread()) ++window_thread_ticks;
    }
    std::atomic<int> ticks{0};
    std::atomic<int> window_thread_ticks{0};
};

// A 5 ms timer of the window thread: how often it ran, and whether it ever ran inside an
// exchange of its own thread.
struct WindowTimer {
    QTimer timer;
    int fired = 0;
    bool fired_inside = false;
    WindowTimer() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++fired;
            fired_inside = fired_inside || t_inside_exchange;
        });
        timer.start(5);
    }
};

// An exchange with a server that trickles its reply, ended by the exchange's own deadline.
struct SlowExchange {
    peers::ServerProcess server{"slow"};
    test::Recorder ui;
    TickRecorder view;
    std::uint8_t cancel = 0;
    net::TrafficCounters traffic;
    net::ExchangeContext ctx{ui, view, cancel, traffic};
    SlowExchange() {
        ctx.service = server.address();
        ctx.limits.small_deadline = std::chrono::milliseconds(600);
    }
    bool run() {
        t_inside_exchange = true;
        std::string response;
        const bool ok = net::HttpExchange(ctx, "/test.htm", "", false, "", response);
        t_inside_exchange = false;
        return ok;
    }
};

TEST(DownloadWorker, NoWindowEventRunsInsideAnExchange) {
    // Called on the window thread itself, the exchange blocks it: the timer that falls due
    // meanwhile waits until the exchange has returned, it does not run inside it.
    {
        SlowExchange slow;
        WindowTimer window;
        EXPECT_FALSE(slow.run());
        EXPECT_EQ(window.fired, 0);
        EXPECT_GT(slow.view.ticks.load(), 0);
        ASSERT_FALSE(slow.ui.messages.empty());
        EXPECT_NE(slow.ui.messages.back().text.find("не завершен"), std::string::npos);
        QTest::qWait(20);
        EXPECT_GT(window.fired, 0);
    }
    // Through the worker the window thread keeps its events for the whole exchange, and none
    // of them runs inside it; the exchange's ticks all come on the worker.
    {
        SlowExchange slow;
        DownloadWorker worker;
        WindowTimer window;
        bool ok = true;
        worker.run([&] { ok = slow.run(); }, false);
        EXPECT_FALSE(ok);
        EXPECT_GT(window.fired, 0);
        EXPECT_FALSE(window.fired_inside);
        EXPECT_GT(slow.view.ticks.load(), 0);
        EXPECT_EQ(slow.view.window_thread_ticks.load(), 0);
        EXPECT_FALSE(worker.busy());
    }
}

// Calls from the worker to the window thread: answered there while the worker waits, and in
// the order they were made; posts arrive before `run` returns.
TEST(DownloadWorker, CallsAndPostsRunOnTheWindowThreadInOrder) {
    DownloadWorker worker;
    std::vector<std::string> seen;
    std::vector<bool> on_window;
    const auto note = [&](const char* what) {
        seen.push_back(what);
        on_window.push_back(QThread::currentThread() == qApp->thread());
    };
    int answer = 0;
    worker.run(
        [&] {
            worker.post([&] { note("post 1"); });
            worker.call([&] {
                note("call");
                answer = 42;
            });
            worker.post([&] { note("post 2"); });
        },
        false);
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(seen, (std::vector<std::string>{"post 1", "call", "post 2"}));
    EXPECT_EQ(on_window, (std::vector<bool>{true, true, true}));
}

// A program folder whose settings point at `server`.
void point_settings_at(const QTemporaryDir& dir, const peers::ServerProcess& server) {
    QFile ini(dir.filePath("settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(("[ZORVAN]\r\nHOST=" + server.address() + "\r\n").c_str());
}

// Starts the program, answering "Нет" to its offer to download a schedule.
void start_declining_the_download(Application& app) {
    ModalScript no(
        {{"TFMsg", [](QDialog& d) { test::widget<QPushButton>(d, "BitBtnNo")->click(); }}});
    ASSERT_EQ(app.start(), StartUp::Result::running);
}

// "Отмена" in the connection window, confirmed, ends a login check whose reply trickles in:
// no error message (the deadline's would be one), the window unlocked, the session idle again.
TEST(DownloadWorker, CancelInTheConnectionWindowEndsASlowReply) {
    peers::ServerProcess server("slow");
    QTemporaryDir dir;
    ASSERT_NO_FATAL_FAILURE(point_settings_at(dir, server));
    Application app(dir.path() + "/", dir.filePath("zorvan_tv"), std::make_shared<SystemClock>());
    ASSERT_NO_FATAL_FAILURE(start_declining_the_download(app));
    QString question;
    ModalScript script({
        {"TFUpdate",
         [](QDialog& d) {
             test::widget<QComboBox>(d, "ComboBoxUser")->setCurrentIndex(0);
             test::widget<QPushButton>(d, "BitBtnUpdate")->click();
         }},
        {"TFMsg",
         [&](QDialog& d) {
             auto& msg = static_cast<TFMsg&>(d);
             question = msg.current_panel().text->text();
             test::widget<QPushButton>(d, "BitBtnYes")->click();
         }},
    });
    // Once the connection window shows and bytes have begun to arrive, the user cancels.
    bool locked_meanwhile = false;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        TFProgress& window = app.progress_window();
        if (!window.isVisible()) return;
        locked_meanwhile =
            !test::widget<QTabWidget>(app.main_window(), "PageControlProg")->isEnabled();
        press.stop();
        QTimer::singleShot(300, &window, [&window] {
            test::widget<QPushButton>(window, "BitBtnCancel")->click();
        });
    });
    press.start(10);
    app.StartManualDownload();
    EXPECT_EQ(script.done(), 2u);
    EXPECT_EQ(question,
              QStringLiteral("Операция не завершена. Вы уверены что хотите её прервать?"));
    EXPECT_TRUE(script.unexpected.empty()) << script.unexpected.front();
    EXPECT_TRUE(locked_meanwhile);
    EXPECT_FALSE(app.progress_window().isVisible());
    EXPECT_TRUE(test::widget<QTabWidget>(app.main_window(), "PageControlProg")->isEnabled());
    EXPECT_EQ(app.session().ui_idle, 1);
    EXPECT_FALSE(app.download_host().worker().busy());
    app.ExitProgram();
}

// "Выход" while the worker waits for a slow reply: the exchange is cancelled and the program
// ends once the worker has let go of the store, never saving under it.
TEST(DownloadWorker, AnExitDuringADownloadFollowsItsEnd) {
    peers::ServerProcess server("slow");
    QTemporaryDir dir;
    ASSERT_NO_FATAL_FAILURE(point_settings_at(dir, server));
    Application app(dir.path() + "/", dir.filePath("zorvan_tv"), std::make_shared<SystemClock>());
    ASSERT_NO_FATAL_FAILURE(start_declining_the_download(app));
    ModalScript script({{"TFUpdate", [](QDialog& d) {
                             test::widget<QComboBox>(d, "ComboBoxUser")->setCurrentIndex(0);
                             test::widget<QPushButton>(d, "BitBtnUpdate")->click();
                         }}});
    bool finished_while_busy = true;
    QTimer exit;
    QObject::connect(&exit, &QTimer::timeout, [&] {
        if (!app.progress_window().isVisible()) return;
        exit.stop();
        app.ExitProgram();
        finished_while_busy = app.finished() && app.download_host().worker().busy();
    });
    exit.start(10);
    app.StartManualDownload();
    EXPECT_FALSE(finished_while_busy);
    QTest::qWait(50);
    EXPECT_TRUE(app.finished());
    EXPECT_TRUE(script.unexpected.empty());
    EXPECT_FALSE(app.download_host().worker().busy());
}

}  // namespace
}  // namespace zt
