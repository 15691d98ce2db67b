#pragma once

#include <QObject>

class QSocketNotifier;

namespace zt {

// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in a terminal) into a signal on
// the user-interface thread, so the program saves and ends as with "Выход" instead of dying
// with the user's marks unsaved. One instance per process.
class ExitSignals final : public QObject {
    Q_OBJECT
public:
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;

    // True once a signal arrived: asked where no event loop runs yet (during start-up).
    static bool requested();

signals:
    void exit_requested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace zt
