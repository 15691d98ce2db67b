#include "print/logic/print_run.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace zt::print {

void StepProgress::job_progress(int percent) {
    if (m_outer) m_outer->job_progress(m_from + (m_to - m_from) * percent / 100);
}

bool StepProgress::job_cancelled() const {
    return (m_abort && *m_abort) || (m_outer && m_outer->job_cancelled());
}

bool PaintPages(QPainter& painter, QPagedPaintDevice& device, const PageSource& source, int pages,
                const PageRun& run, Progress* progress) {
    const int per_copy = std::max(0, run.to - run.from + 1);
    const int total = per_copy * std::max(1, run.copies);
    int done = 0;
    for (int copy = 0; copy < std::max(1, run.copies); ++copy) {
        for (int page = run.from; page <= run.to; ++page) {
            if (progress) {
                progress->job_progress(total ? done * 100 / total : 100);
                if (progress->job_cancelled()) return false;
            }
            if (done > 0) device.newPage();
            DrawPage(painter, source, page, pages);
            ++done;
        }
    }
    if (progress) progress->job_progress(100);
    return true;
}

}  // namespace zt::print
