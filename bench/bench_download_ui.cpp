// The longest freeze of the user-interface thread during a download of the "large" profile
// (300 channels x 7 days) through the download dialogs of the running program, offscreen: the
// empty program folder, the source dialog (paid account), every package ticked in the
// selection dialog, "Получить", the job and connection windows, applying, maintenance, saving
// and the rebuilt tables. A 5 ms timer on the event loop records the longest time it did not
// get to run; the reference is the same probe over an idle event loop of the same run.
// Then the window process's peak resident memory (VmHWM) against the uncompressed bodies of
// the four data files of the store it holds.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdio>

#include "app/application.h"
#include "app/logic/start_up.h"
#include "dialogs/msg_window.h"
#include "dialogs/update_select_dialog.h"
#include "dialogs/update_source_dialog.h"
#include "modal_script.h"
#include "storage/data_files.h"
#include "tools/peers/peers.h"
#include "views/main_window.h"

namespace {

using namespace zt;

// The process's peak resident memory in bytes (VmHWM), 0 when unknown.
double peak_resident() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (QByteArray line; !(line = status.readLine()).isEmpty();)
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() * 1024;
    return 0;
}

// A window's widget by its object name (windows keep their widgets private).
template <class W>
W* widget(const QObject& root, const char* name) {
    return root.findChild<W*>(QString::fromLatin1(name));
}

// The longest pause between two ticks of a 5 ms timer, beyond its interval.
class Probe final {
public:
    Probe() {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_worst = std::max(m_worst, m_since.elapsed() - 5);
            m_since.restart();
        });
    }
    void start() {
        m_worst = 0;
        m_since.start();
        m_timer.start(5);
    }
    qint64 stop() {
        m_timer.stop();
        return m_worst;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_worst = 0;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    std::fprintf(stderr, "bench_download_ui: ingesting the large profile...\n");
    peers::ServerProcess server("", "", "large");
    QTemporaryDir dir;
    {
        QFile ini(dir.filePath("settings.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(("[ZORVAN]\r\nHOST=" + server.address() + "\r\n").c_str());
    }
    Application app(dir.path() + "/", dir.filePath("zorvan_tv"), std::make_shared<SystemClock>());
    {
        test::ModalScript no(
            {{"TFMsg", [](QDialog& d) { widget<QPushButton>(d, "BitBtnNo")->click(); }}});
        app.start();
    }

    Probe probe;
    // Reference: the probe over an idle event loop for one second.
    probe.start();
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 idle_worst = probe.stop();

    QElapsedTimer download;
    test::ModalScript script({
        {"TFUpdate",
         [](QDialog& d) {
             auto& u = static_cast<TFUpdate&>(d);
             widget<QComboBox>(u, "ComboBoxUser")->setCurrentIndex(1);
             widget<QLineEdit>(u, "EditLogin")->setText(QStringLiteral("paid"));
             widget<QLineEdit>(u, "EditPwd")->setText(QStringLiteral("secret"));
             widget<QPushButton>(u, "BitBtnUpdate")->click();
         }},
        {"TFUpdateSelect",
         [&](QDialog& d) {
             auto& s = static_cast<TFUpdateSelect&>(d);
             const int pakets = s.paket_count();
             for (int i = 0; i < pakets; ++i) {
                 s.select_paket(i);
                 s.mark_all();
             }
             probe.start();
             download.start();
             widget<QPushButton>(s, "BitBtnUpdate")->click();
         }},
    });
    QTimer::singleShot(0, &app, [&] { app.StartManualDownload(); });
    QElapsedTimer wait;
    wait.start();
    while (script.done() < 2 && wait.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // The command returns to the event loop when the download has ended.
    auto* pages = widget<QTabWidget>(app.main_window(), "PageControlProg");
    while (pages && !pages->isEnabled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double download_ms = double(download.elapsed());
    const qint64 worst = probe.stop();

    std::size_t programmes = 0;
    for (const auto& c : app.store().channels) programmes += c->tvprog.size();
    std::printf("channels %zu, programmes %zu, unexpected dialogs %zu\n",
                app.store().channels.size(), programmes, script.unexpected.size());
    std::printf("download through the dialogs   %8.0f ms\n", download_ms);
    std::printf("idle event loop, longest pause  %8lld ms (reference)\n",
                static_cast<long long>(idle_worst));
    std::printf(
        "download, longest pause         %8lld ms  ratio to the download %.3f "
        "(target < 100 ms)\n",
        static_cast<long long>(worst), double(worst) / std::max(download_ms, 1.0));
    const double peak = peak_resident();
    const DataContext ctx = app.start_up().data_context();
    const double bodies = double(build_u_body(ctx).size() + build_v_body(ctx).size() +
                                 build_t_body(ctx).size() + build_m_body(ctx).size());
    std::printf(
        "window peak resident memory %.1f MB, bodies of the data files %.1f MB: ratio %.2f "
        "(target <= 1.6)\n",
        peak / 1048576, bodies / 1048576, peak / std::max(bodies, 1.0));
    if (QFile load("/proc/loadavg"); load.open(QIODevice::ReadOnly))
        std::printf("load average %s", load.readLine().constData());
    app.ExitProgram();
    return 0;
}
