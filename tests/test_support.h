#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/progress.h"
#include "core/store.h"

namespace zt::test {

// A store on a fixed clock with the genre catalogue and time zones built.
std::unique_ptr<all_list> make_store(DateTime now, std::shared_ptr<FixedClock>* clock = nullptr);

// "yyyy-MM-dd hh:mm[:ss]" or "yyyy-MM-dd"; aborts the test on a bad text.
DateTime at(const std::string& text);

// A programme of the member's channel, numbered after the channel's last one; times as for at(),
// the title UTF-8; genre (family, sub) 1/1 "Новости" unless given, family 0 meaning none.
std::shared_ptr<tvprog_serv_list> add_programme(all_list& store, const chl_local_list& member,
                                                const std::string& start, const std::string& finish,
                                                const std::string& title, std::int32_t family = 1,
                                                std::int32_t sub = 1);

// Records every message and progress report.
class Recorder final : public Progress, public UserInterface {
public:
    void job_progress(int percent) override { percents.push_back(percent); }
    bool job_cancelled() const override { return cancel; }
    bool show_msg(MsgKind kind, const std::string& text) override {
        messages.push_back({kind, text});
        return answer;
    }
    struct Message {
        MsgKind kind;
        std::string text;
    };
    std::vector<int> percents;
    std::vector<Message> messages;
    bool answer = true;
    bool cancel = false;
};

}  // namespace zt::test
