#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QTimer;

namespace zt {

// The statistics window "Статистика": how long the application has been running and how many
// bytes it has sent and received. Its minute timer runs from start-up whether it is shown or
// not; the transport puts the byte counts in after each exchange.
class TFStat final : public QDialog {
    Q_OBJECT
public:
    explicit TFStat(QWidget* parent = nullptr);

    // Shows the window modally, centred on the anchor.
    void ShowModal();
    void set_anchor(QWidget* anchor) { m_anchor = anchor; }

    // The byte counts as the transport formats them ("0 байт", "12 Кб", ...).
    void set_traffic(const QString& sent, const QString& received);

    unsigned session_minutes() const { return m_minutes; }
    // One minute more of running time; the timer calls it.
    void TimerTimer();

    QTimer* Timer = nullptr;

private:
    QLabel* LabelDatTime = nullptr;
    QLabel* LabelDatOut = nullptr;
    QLabel* LabelDatIn = nullptr;

    unsigned m_minutes = 0;
    QPointer<QWidget> m_anchor;
};

}  // namespace zt
