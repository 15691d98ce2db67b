#pragma once

#include <string>
#include <vector>

#include "net/http_exchange.h"
#include "test_support.h"

namespace zt::test {

// Records the connection window's labels.
class LabelRecorder final : public net::ExchangeView {
public:
    void show_labels(const net::ExchangeLabels& labels) override { shown.push_back(labels); }
    void tick() override {
        ++events;
        if (cancel_after >= 0 && events > cancel_after && cancel_flag) *cancel_flag = 1;
    }
    std::vector<net::ExchangeLabels> shown;
    int events = 0;
    int cancel_after = -1;
    std::uint8_t* cancel_flag = nullptr;
};

// One exchange context with short time-outs, aimed at `service`.
struct ExchangeFixture {
    Recorder ui;
    LabelRecorder view;
    std::uint8_t net_cancel = 0;
    net::TrafficCounters traffic;
    net::ExchangeContext ctx{ui, view, net_cancel, traffic};

    explicit ExchangeFixture(const std::string& service) {
        ctx.service = service;
        ctx.limits.connect_timeout = std::chrono::milliseconds(2000);
        ctx.limits.send_timeout = std::chrono::milliseconds(1000);
        ctx.limits.receive_timeout = std::chrono::milliseconds(700);
        ctx.limits.max_inflated = std::size_t(64) << 20;
    }
    std::string last_message() const { return ui.messages.empty() ? "" : ui.messages.back().text; }
};

}  // namespace zt::test
