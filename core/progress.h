#pragma once

#include <string>

namespace zt {

// How long work tells the user how far it is. The application implements it with the job
// window; tests record the calls; the command-line tools print nothing.
class Progress {
public:
    virtual ~Progress() = default;
    // Percent 0..100 of the current job. The job window lets pending events run here.
    virtual void job_progress(int percent) = 0;
    // True once the user has asked to cancel the running job.
    virtual bool job_cancelled() const { return false; }
};

// A progress sink that ignores everything.
class NullProgress final : public Progress {
public:
    void job_progress(int) override {}
};

// The kinds of message to the user; the numbers are those the message window and the command
// line's reports use.
enum class MsgKind { Info = 1, Error = 2, Question = 3, Server = 4 };

// Messages to the user. Texts are UTF-8. The return value answers a question (true = "Да"); for the
// other kinds it tells whether the message was shown.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    virtual bool show_msg(MsgKind kind, const std::string& text) = 0;
};

}  // namespace zt
