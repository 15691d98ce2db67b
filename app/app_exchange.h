#pragma once

#include <cstdint>

#include "dialogs/connection_view.h"
#include "net/http_exchange.h"

namespace zt {

class TFProgress;
class TFStat;
class UserInterface;

// The exchange context of the running program: messages through the message window, progress
// in the connection window, the statistics window's byte counts, the store's net_cancel.
class AppExchange final {
public:
    AppExchange(UserInterface& ui, TFProgress* connection, TFStat* statistics,
                std::uint8_t& net_cancel)
        : m_view(connection, statistics), m_context(ui, m_view, net_cancel, m_traffic) {}

    net::ExchangeContext& context() { return m_context; }
    const net::TrafficCounters& traffic() const { return m_traffic; }

private:
    ConnectionView m_view;
    net::TrafficCounters m_traffic;
    net::ExchangeContext m_context;
};

}  // namespace zt
