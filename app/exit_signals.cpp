#include "app/exit_signals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>

namespace zt {
namespace {

int g_fds[2] = {-1, -1};
volatile std::sig_atomic_t g_requested = 0;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void on_exit_signal(int) {
    // Only async-signal-safe work here: a flag, and one byte to wake the event loop.
    g_requested = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &byte, 1);
}

}  // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_fds) != 0) return;
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_fds[1], &byte, 1);
        emit exit_requested();
    });
    struct sigaction action {};
    action.sa_handler = on_exit_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kSignals) ::sigaction(s, &action, nullptr);
}

bool ExitSignals::requested() {
    return g_requested != 0;
}

ExitSignals::~ExitSignals() {
    for (const int s : kSignals) std::signal(s, SIG_DFL);
    delete m_notifier;
    m_notifier = nullptr;
    for (int& fd : g_fds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

}  // namespace zt
