#pragma once

#include <string>

#include "core/progress.h"

namespace zt {

// The job window as the domain code sees it: long local work (loading, saving, processing
// data) opens it with a text, reports percentages through Progress and closes it. The
// application implements it with the window `TFJob`; tests record the calls.
class JobControl : public Progress {
public:
    // Opens the job window with `text` (UTF-8). `with_cancel` shows "Отмена" (the user's
    // cancel then shows in job_cancelled()); `with_percent` shows the percentage and the bar.
    virtual void job_begin(const std::string& text, bool with_cancel, bool with_percent) = 0;
    virtual void job_end() = 0;
};

}  // namespace zt
