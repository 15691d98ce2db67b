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

// Messages to the user. Kinds: 1 information, 2 error, 3 question, 4 server message. Texts are
// UTF-8. The return value answers a question (true = "Да"); for the other kinds it tells
// whether the message was shown.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    virtual bool show_msg(int kind, const std::string& text) = 0;
};

}  // namespace zt
