#pragma once

#include <QPointer>
#include <functional>

#include "net/exchange_view.h"
#include "ui/cancel_dialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zt {

// The connection window "Центр соединений": the upper frame shows what is sent, the lower
// frame what is received, one bar between them. The transport fills the labels; the window
// itself only offers "Отмена", which sets the store's `net_cancel` once the user confirms.
class TFProgress final : public CancelDialog {
    Q_OBJECT
public:
    TFProgress(std::function<bool()> confirm_cancel, unsigned char* cancel_flag,
               QWidget* parent = nullptr);

    // Shows the window (not modal) centred on the anchor and lets it paint.
    void open_centred();
    void set_anchor(QWidget* anchor) { m_anchor = anchor; }
    // The transport's counters into the labels and the bar; repaints when shown.
    void show_labels(const net::ExchangeLabels& labels);

private:
    QLabel* LabelFileUpVal = nullptr;     // "Часть:"
    QLabel* LabelBytesUpVal = nullptr;    // "Передано:"
    QLabel* LabelProcUpVal = nullptr;     // "Готово:"
    QLabel* LabelFileDownVal = nullptr;   // "Часть:"
    QLabel* LabelBytesDownVal = nullptr;  // "Принято:"
    QLabel* LabelProcDownVal = nullptr;   // "Готово:"
    QProgressBar* ProgressBar = nullptr;
    QPushButton* BitBtnCancel = nullptr;

    QPointer<QWidget> m_anchor;
};

}  // namespace zt
