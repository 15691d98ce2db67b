#include "print/logic/print_pdf.h"

#include <fcntl.h>
#include <unistd.h>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "print/logic/print_choices.h"
#include "print/logic/print_run.h"

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
                          const PrintOptions& options, const PrintContext& context,
                          const PdfJob& job, const PrintIcons& icons, Progress* progress) {
    PdfResult result;
    QByteArray bytes;
    {
        QBuffer file(&bytes);
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setResolution(job.dpi);
        QPageLayout page = job.page;
        page.setMinimumMargins(QMarginsF());
        page.setMargins(QMarginsF());
        writer.setPageLayout(page);
        writer.setTitle(QStringLiteral("ЗОРВАН. Телепрограмма."));
        writer.setCreator(job.creator);
        const PrintMetrics metrics =
            SetPrintMetrics(options, job.dpi, writer.width(), writer.height());
        result.corrections = metrics.corrections;
        StepProgress layout(progress, nullptr, 0, 50);
        const PrintLines lines = BuildPrintLines(rows, options, context, metrics, &layout);
        if (layout.job_cancelled()) {
            result.cancelled = true;
            return result;
        }
        result.pages = CountPrintPages(lines, metrics.per_page());
        const PageRange range =
            normalize_page_range(job.from, job.to > 0 ? job.to : result.pages, result.pages);
        const PageSource source{lines, options, context, metrics, icons};
        StepProgress painting(progress, nullptr, 50, 100);
        QPainter painter(&writer);
        const bool done = PaintPages(painter, writer, source, result.pages,
                                     PageRun{range.from, range.to, job.copies}, &painting);
        painter.end();
        if (!done) {
            result.cancelled = true;
            return result;
        }
    }
    if (!save_file(path.toStdString(), bytes, result.error)) return result;
    result.ok = true;
    return result;
}

PdfResult write_print_pdf(const QString& path, const std::vector<PrintRow>& rows,
                          const PrintOptions& options, const PrintContext& context, int dpi,
                          const PrintIcons& icons) {
    PdfJob job;
    job.dpi = dpi;
    return write_print_pdf(path, rows, options, context, job, icons);
}

}  // namespace zt::print
