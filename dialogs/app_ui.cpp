#include "dialogs/app_ui.h"

#include <QString>

#include "dialogs/job_window.h"
#include "dialogs/msg_window.h"

namespace zt {

AppUi::AppUi(const SessionState& session, TFMsg& msg, TFJob& job)
    : m_session(session), m_msg(msg), m_job(job) {}

bool AppUi::show_msg(MsgKind kind, const std::string& text) {
    if (m_session.messages_on == 0 && kind != MsgKind::Question) return false;
    return m_msg.ShowMsg(kind, QString::fromStdString(text));
}

void AppUi::job_begin(const std::string& text, bool with_cancel, bool with_percent) {
    m_job.JobBegin(QString::fromStdString(text), with_cancel, with_percent);
}

void AppUi::job_progress(int percent) {
    m_job.JobProgress(percent);
}

bool AppUi::job_cancelled() const {
    return m_session.job_cancel != 0;
}

void AppUi::job_end() {
    m_job.JobEnd();
}

}  // namespace zt
