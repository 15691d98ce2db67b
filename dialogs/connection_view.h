#pragma once

#include <QPointer>

#include "net/exchange_view.h"

namespace zt {

class TFProgress;
class TFStat;

// The exchange's progress shown in the connection window "Центр соединений" and, after each
// successful exchange, its byte counts in the statistics window. Between chunks and while
// waiting for the peer it lets the application run its events, which is how the window's
// "Отмена" reaches the transport.
class ConnectionView final : public net::ExchangeView {
public:
    ConnectionView(TFProgress* window, TFStat* statistics);

    void show_labels(const net::ExchangeLabels& labels) override;
    void process_events() override;
    void show_traffic(const std::string& sent, const std::string& received) override;

private:
    QPointer<TFProgress> m_window;
    QPointer<TFStat> m_statistics;
};

}  // namespace zt
