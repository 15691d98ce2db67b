#pragma once

#include "core/job_control.h"
#include "core/progress.h"

namespace zt {

class all_list;
class TFJob;
class TFMsg;

// The application's side of the interfaces the domain code talks through: messages go to the
// message window (silenced while the store's `messages_on` is 0, except questions), long work
// to the job window, whose Cancel sets the store's `job_cancel`.
class AppUi final : public UserInterface, public JobControl {
public:
    AppUi(all_list& store, TFMsg& msg, TFJob& job);

    // Kinds 1 to 4; true only for a question answered "Да". With messages off nothing but a
    // question is shown and the result is false.
    bool show_msg(MsgKind kind, const std::string& text) override;

    void job_begin(const std::string& text, bool with_cancel, bool with_percent) override;
    void job_progress(int percent) override;
    bool job_cancelled() const override;
    void job_end() override;

private:
    all_list& m_store;
    TFMsg& m_msg;
    TFJob& m_job;
};

}  // namespace zt
