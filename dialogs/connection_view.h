#pragma once

#include <QPointer>

#include "net/exchange_view.h"

namespace zt {

class TFProgress;
class TFStat;

// The exchange's progress shown in the connection window "Центр соединений" and, after each
// successful exchange, its byte counts in the statistics window. Used on the window thread
// only: the application's worker bridge hands it the calls of an exchange running on the
// worker. The window's "Отмена" sets the cancel flag that the exchange reads.
class ConnectionView final : public net::ExchangeView {
public:
    ConnectionView(TFProgress* window, TFStat* statistics);

    void show_labels(const net::ExchangeLabels& labels) override;
    void show_traffic(const std::string& sent, const std::string& received) override;

private:
    QPointer<TFProgress> m_window;
    QPointer<TFStat> m_statistics;
};

}  // namespace zt
