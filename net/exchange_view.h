#pragma once

#include <cstdint>
#include <string>

namespace zt::net {

// The labels of the connection window "Центр соединений" (UTF-8): the upper panel
// "Передача данных", the lower panel "Прием данных" and the bar.
struct ExchangeLabels final {
    std::string part_up, bytes_up, percent_up;  // "Часть:", "Передано:", "Готово:"
    std::string part_down, bytes_down, percent_down;  // "Часть:", "Принято:", "Готово:"
    int bar = 0;
    bool operator==(const ExchangeLabels&) const = default;
};

// Where an exchange shows its progress. The connection window implements it; the command line
// and the tests use their own. Every call comes on the thread that runs the exchange (the
// user-interface thread), which keeps responding because the exchange never blocks longer
// than a short wait between these calls.
class ExchangeView {
public:
    virtual ~ExchangeView() = default;
    // The labels changed; the window repaints.
    virtual void show_labels(const ExchangeLabels& labels) = 0;
    // Lets the user interface run its pending events (the Cancel button among them). Called
    // after every chunk and every few tens of milliseconds while waiting for the peer.
    virtual void process_events() {}
    // The statistics window's "Передано:" and "Принято:" after a successful exchange.
    virtual void show_traffic(const std::string& sent, const std::string& received) {
        (void)sent;
        (void)received;
    }
};

// A view that shows nothing.
class NullExchangeView final : public ExchangeView {
public:
    void show_labels(const ExchangeLabels&) override {}
};

}  // namespace zt::net
