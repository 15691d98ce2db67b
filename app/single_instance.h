#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace zt {

// One running copy per user. The first copy listens on a local socket named "zorvan_tv" in the
// user's runtime folder; a second copy connects, asks the first to show its main window and
// ends. The first answers with a line telling what it did ("shown").
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // The socket's path: "zorvan_tv" in the user's runtime folder (XDG_RUNTIME_DIR), or where
    // there is none, in a folder of the user's own under the cache folder; never in a shared
    // folder. Empty when there is no such folder (the program then runs unguarded).
    static QString default_name();
    // The name in `runtime_dir`, or (empty) in the private folder under the cache folder.
    static QString name_in(const QString& runtime_dir);
    // Whether the peer of a connected local socket runs as this user.
    static bool same_user(qintptr descriptor);

    explicit SingleInstance(QString name = default_name(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks a running copy to show itself. True when one of this user's answered within the
    // time; its answer goes to `reply`.
    static bool activate_running(const QString& name, QString* reply, int timeout_ms = 3000);

    enum class Listen {
        listening,  // this is the running copy now
        taken,      // another copy is alive (perhaps started at the same moment, or busy)
        failed,     // no socket could be made (the runtime folder is not writable)
    };
    // Becomes the running copy. A socket left by a copy that died is taken over.
    Listen listen();

    // Called on the user-interface thread for each activation; returns the answer line.
    void set_handler(std::function<QString()> handler) { m_handler = std::move(handler); }

    const QString& name() const { return m_name; }

private:
    void on_connection();

    QString m_name;
    QLocalServer* m_server = nullptr;
    std::function<QString()> m_handler;
};

}  // namespace zt
