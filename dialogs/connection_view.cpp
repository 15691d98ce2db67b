#include "dialogs/connection_view.h"

#include <QLabel>
#include <QProgressBar>

#include "dialogs/progress_window.h"
#include "dialogs/stat_window.h"

namespace zt {

ConnectionView::ConnectionView(TFProgress* window, TFStat* statistics)
    : m_window(window), m_statistics(statistics) {}

void ConnectionView::show_labels(const net::ExchangeLabels& l) {
    if (!m_window) return;
    m_window->show_labels(l);
}

void ConnectionView::show_traffic(const std::string& sent, const std::string& received) {
    if (m_statistics)
        m_statistics->set_traffic(QString::fromStdString(sent), QString::fromStdString(received));
}

}  // namespace zt
