#pragma once

#include "core/progress.h"
#include "print/logic/print_paint.h"

class QPagedPaintDevice;

namespace zt::print {

// One step of a longer job: maps the step's 0..100 onto from..to of the whole job, and reports
// the job cancelled when the outer sink says so or when the owner's own flag is set (the print
// window's "Отмена" while printing). `outer` and `abort` may be null.
class StepProgress final : public Progress {
public:
    StepProgress(Progress* outer, const bool* abort, int from, int to)
        : m_outer(outer), m_abort(abort), m_from(from), m_to(to) {}
    void job_progress(int percent) override;
    bool job_cancelled() const override;

private:
    Progress* m_outer;
    const bool* m_abort;
    int m_from;
    int m_to;
};

// Which pages of a laid-out document a run prints, and how often.
struct PageRun final {
    int from = 1;
    int to = 1;
    int copies = 1;
};

// Paints the pages of `run` onto `device` (the painter already begun on it), every copy in
// turn, with a new page between two pages. Reports progress per page and checks for a cancel
// before each page; returns false when cancelled.
bool PaintPages(QPainter& painter, QPagedPaintDevice& device, const PageSource& source, int pages,
                const PageRun& run, Progress* progress);

}  // namespace zt::print
