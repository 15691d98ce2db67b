#include "print/logic/print_pdf.h"

#include <fcntl.h>
#include <unistd.h>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace zt::print {
namespace {

// Writes the bytes to `path` crash-safely: a fresh temporary file beside it (created
// exclusively, so a planted link is never followed), flushed, then renamed over the target.
bool save_file(const std::string& path, const QByteArray& data, QString& error) {
    const std::string temp = path + ".new";
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, std::size_t(data.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    const bool ok = done == data.size() && ::fsync(fd) == 0;
    const int saved = errno;
    if (::close(fd) != 0 || !ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(ok ? errno : saved));
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

PdfResult write_print_pdf(const QString& path, const std::vector<PrintRow>& rows,
                          const PrintOptions& options, const PrintContext& context, int dpi,
                          const PrintIcons& icons) {
    PdfResult result;
    QByteArray bytes;
    {
        QBuffer file(&bytes);
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setResolution(dpi);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(QStringLiteral("ЗОРВАН. Телепрограмма."));
        writer.setCreator(QStringLiteral("zorvan-cli"));
        const PrintMetrics metrics = SetPrintMetrics(options, dpi, writer.width(), writer.height());
        result.corrections = metrics.corrections;
        const PrintLines lines = BuildPrintLines(rows, options, context, metrics);
        result.pages = CountPrintPages(lines, metrics.per_page());
        const PageSource source{lines, options, context, metrics, icons};
        QPainter painter(&writer);
        for (int page = 1; page <= result.pages; ++page) {
            if (page > 1) writer.newPage();
            DrawPage(painter, source, page, result.pages);
        }
        painter.end();
    }
    if (!save_file(path.toStdString(), bytes, result.error)) return result;
    result.ok = true;
    return result;
}

}  // namespace zt::print
