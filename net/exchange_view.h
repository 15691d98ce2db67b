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

// Where an exchange shows its progress. The connection window implements it (through the
// application's worker bridge, which carries each call to the window thread); the command line
// and the tests use their own. Every call comes on the thread that runs the exchange, which is
// never the window thread in the application: the exchange blocks its thread until it ends.
class ExchangeView {
public:
    virtual ~ExchangeView() = default;
    // The labels changed; the window repaints.
    virtual void show_labels(const ExchangeLabels& labels) = 0;
    // The exchange is alive: called after every chunk and at least every `slice` while it
    // waits for the peer, just before the cancel flag is looked at. It must not run the user
    // interface's events (no window code may run inside an exchange); a view may count, or
    // look at the clock.
    virtual void tick() {}
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
