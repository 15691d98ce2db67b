#include "app/program_main.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/exit_signals.h"
#include "app/logic/data_preload.h"
#include "app/logic/memory_tuning.h"
#include "app/logic/russian_locale.h"
#include "app/single_instance.h"

namespace zt {
namespace {

constexpr const char* kTitle = "ЗОРВАН. Телепрограмма.";
constexpr const char* kNotAnswering =
    "Программа уже запущена, но не отвечает. Закройте её и запустите программу снова.";

void show_exception(const char* what) {
    QMessageBox::critical(nullptr, QString::fromUtf8(kTitle), QString::fromUtf8(what));
}

// Catches what escapes an event handler: the user sees the message and the program ends.
class GuardedApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            fail(e.what());
        } catch (...) {
            fail("");
        }
        return false;
    }

private:
    void fail(const char* what) {
        if (m_failed) return;
        m_failed = true;
        show_exception(what);
        QCoreApplication::exit(1);
    }
    bool m_failed = false;
};

// The folder of the running executable (UTF-8, with a trailing '/'), as the application
// object will find it; empty where the system does not tell.
std::string program_folder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return exe.parent_path().string() + '/';
}

}  // namespace

void name_application() {
    QApplication::setApplicationName(QStringLiteral("zorvan_tv"));
}

int program_main(int argc, char** argv) {
    // Every thread allocates from the one main heap, which grows in large steps and is kept:
    // the thread reading the data files then finds the memory the waiting thread has prepared
    // for it, and saves do not give the heap back to fault it in again.
    tune_allocator(true);
    // The data files are read from the first moment, while the windows are made.
    auto clock = std::make_shared<SystemClock>();
    std::unique_ptr<DataPreload> preload;
    if (const std::string folder = program_folder(); !folder.empty())
        preload = std::make_unique<DataPreload>(folder, clock);
    GuardedApplication app(argc, argv);
    name_application();
    use_russian_locale();
    install_qt_russian_translation(app);
    // The program ends on "Выход", a close without the tray, or the installation's end, never
    // because the last visible window went away (the main window may live in the tray).
    QApplication::setQuitOnLastWindowClosed(false);

    const QString name = SingleInstance::default_name();
    QString reply;
    if (SingleInstance::activate_running(name, &reply)) return 0;
    SingleInstance instance(name);
    const SingleInstance::Listen listening = instance.listen();
    if (listening == SingleInstance::Listen::taken) {
        // Another copy started at the same moment, or is too busy to answer at once: it runs
        // on the same data, so this one asks it once more and ends either way, saying so when
        // no answer comes.
        if (!SingleInstance::activate_running(name, &reply)) {
            std::fprintf(stderr, "zorvan_tv: %s\n", kNotAnswering);
            QMessageBox::warning(nullptr, QString::fromUtf8(kTitle),
                                 QString::fromUtf8(kNotAnswering));
        }
        return 0;
    }
    // Listen::failed: without a socket the program still runs, unguarded.

    try {
        const QString dir = QCoreApplication::applicationDirPath();
        Application application(dir + QDir::separator(), QCoreApplication::applicationFilePath(),
                                clock);
        application.start_up().set_preload(std::move(preload));
        instance.set_handler([&application] { return application.activate(); });
        ExitSignals exit_signals;
        QObject::connect(&exit_signals, &ExitSignals::exit_requested, &application,
                         &Application::Terminate);
        application.start_up().set_termination_check(&ExitSignals::requested);
        QObject::connect(&application, &Application::quit_requested, &app, &QApplication::quit,
                         Qt::QueuedConnection);
        if (application.start() == StartUp::Result::terminated || application.finished()) return 0;
        const int code = QApplication::exec();
        application.leave_records_to_the_system();
        return code;
    } catch (const std::exception& e) {
        show_exception(e.what());
    } catch (...) {
        show_exception("");
    }
    return 1;
}

}  // namespace zt
