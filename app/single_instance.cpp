#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace zt {
namespace {

constexpr QByteArrayView kActivate = "activate\n";
constexpr int kMaxLine = 256;

// A folder of this user's alone (made with mode 0700 when missing): it must be a real folder
// owned by the user that no one else may write into.
bool private_folder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    ::mkdir(native.constData(), 0700);
    struct stat st {};
    return ::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

bool SingleInstance::same_user(qintptr descriptor) {
    struct ucred cred {};
    socklen_t size = sizeof cred;
    return ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &cred, &size) == 0 &&
           size == sizeof cred && cred.uid == ::getuid();
}

QString SingleInstance::default_name() {
    // The runtime folder, which Qt hands out only when it is the user's own.
    return name_in(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
}

QString SingleInstance::name_in(const QString& runtime_dir) {
    // Without a runtime folder, never a shared folder such as /tmp, where another user could
    // take the name first.
    QString dir = runtime_dir;
    if (dir.isEmpty()) {
        const QString cache =
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        if (cache.isEmpty() || !QDir().mkpath(cache)) return {};
        dir = QDir(cache).filePath(QStringLiteral("zorvan_tv-run"));
        if (!private_folder(dir)) return {};
    }
    return QDir(dir).filePath(QStringLiteral("zorvan_tv"));
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
}

bool SingleInstance::activate_running(const QString& name, QString* reply, int timeout_ms) {
    if (name.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeout_ms)) return false;
    // Only a copy of this user's counts: another user's listener is not asked.
    if (!same_user(socket.socketDescriptor())) return false;
    socket.write(kActivate.data(), kActivate.size());
    if (!socket.waitForBytesWritten(timeout_ms)) return false;
    QByteArray line;
    while (!line.contains('\n') && line.size() < kMaxLine) {
        if (!socket.waitForReadyRead(timeout_ms)) break;
        line += socket.read(kMaxLine - line.size());
    }
    socket.disconnectFromServer();
    if (line.isEmpty()) return false;
    if (reply) *reply = QString::fromUtf8(line.left(line.indexOf('\n')));
    return true;
}

SingleInstance::Listen SingleInstance::listen() {
    if (m_name.isEmpty()) return Listen::failed;
    if (!m_server) {
        // No socket options: with them the server is made elsewhere and renamed into place,
        // which would silently replace a live copy's socket. A plain bind fails on a taken
        // name, and the runtime folder is the user's own already.
        m_server = new QLocalServer(this);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::on_connection);
    }
    if (m_server->listen(m_name)) return Listen::listening;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError) return Listen::failed;
    // The name is taken. A live copy answers a connection; a socket file left behind by a
    // copy that died refuses it and can be removed.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        return Listen::taken;
    }
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name) ? Listen::listening : Listen::failed;
}

void SingleInstance::on_connection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Another user may not bring this user's window forward.
        if (!same_user(socket->socketDescriptor())) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->property("answered").toBool()) {
                socket->readAll();
                return;
            }
            const QByteArray request = socket->peek(kMaxLine);
            if (!request.contains('\n')) {
                if (request.size() >= kMaxLine) socket->abort();
                return;
            }
            socket->readAll();
            socket->setProperty("answered", true);
            QString answer = QStringLiteral("unknown");
            if (request.startsWith(kActivate)) answer = m_handler ? m_handler() : QString();
            socket->write(answer.toUtf8() + '\n');
            socket->flush();
        });
    }
}

}  // namespace zt
