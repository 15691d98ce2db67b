#pragma once

#include "app/logic/session_state.h"
#include "core/job_control.h"
#include "core/progress.h"

namespace zt {

class TFJob;
class TFMsg;

// The application's side of the interfaces the domain code talks through: messages go to the
// message window (silenced while the session's `messages_on` is 0, except questions), long work
// to the job window, whose Cancel sets the session's `job_cancel`.
class AppUi final : public UserInterface, public JobControl {
public:
    AppUi(const SessionState& session, TFMsg& msg, TFJob& job);

    // Kinds 1 to 4; true only for a question answered "Да". With messages off nothing but a
    // question is shown and the result is false.
    bool show_msg(MsgKind kind, const std::string& text) override;

    void job_begin(const std::string& text, bool with_cancel, bool with_percent) override;
    void job_progress(int percent) override;
    bool job_cancelled() const override;
    void job_end() override;

private:
    const SessionState& m_session;
    TFMsg& m_msg;
    TFJob& m_job;
};

}  // namespace zt
