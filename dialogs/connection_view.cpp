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
    const auto set = [](QLabel* label, const std::string& text) {
        label->setText(QString::fromStdString(text));
    };
    set(m_window->LabelFileUpVal, l.part_up);
    set(m_window->LabelBytesUpVal, l.bytes_up);
    set(m_window->LabelProcUpVal, l.percent_up);
    set(m_window->LabelFileDownVal, l.part_down);
    set(m_window->LabelBytesDownVal, l.bytes_down);
    set(m_window->LabelProcDownVal, l.percent_down);
    m_window->ProgressBar->setValue(l.bar);
    if (m_window->isVisible()) m_window->repaint();
}

void ConnectionView::show_traffic(const std::string& sent, const std::string& received) {
    if (m_statistics)
        m_statistics->set_traffic(QString::fromStdString(sent), QString::fromStdString(received));
}

}  // namespace zt
