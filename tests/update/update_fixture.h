#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <string>

#include "test_support.h"

namespace zt::test {

inline void write_file(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes.data(), qint64(bytes.size()));
}

inline std::string read_file(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

// Runs zorvan-cli; returns its exit code, standard output into `out`, error into `err`.
inline int run_cli(const QStringList& args, std::string* out = nullptr,
                   std::string* err = nullptr) {
    QProcess p;
    p.start(QStringLiteral(ZT_BINARY_DIR "/tools/zorvan-cli"), args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out) *out = p.readAllStandardOutput().toStdString();
    if (err) *err = p.readAllStandardError().toStdString();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

}  // namespace zt::test
