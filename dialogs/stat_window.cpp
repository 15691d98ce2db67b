#include "dialogs/stat_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QTimer>

#include "dialogs/logic/session_text.h"

namespace zt {

TFStat::TFStat(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TFStat"));
    setWindowTitle(QStringLiteral("Статистика"));
    setModal(true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    auto add_row = [&](int row, const QString& caption, const QString& value, const char* name) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        auto* label = new QLabel(value, this);
        label->setObjectName(QString::fromLatin1(name));
        grid->addWidget(label, row, 1);
        return label;
    };
    LabelDatTime = add_row(0, QStringLiteral("Продолжительность сессии:"),
                           QString::fromStdString(session_time_text(0)), "LabelDatTime");
    LabelDatOut = add_row(1, QStringLiteral("Передано:"), QStringLiteral("0 байт"), "LabelDatOut");
    LabelDatIn = add_row(2, QStringLiteral("Принято:"), QStringLiteral("0 байт"), "LabelDatIn");
    grid->setColumnStretch(1, 1);
    // Room for the longest running time, so the window never has to grow while it is shown.
    LabelDatTime->setMinimumWidth(
        LabelDatTime->fontMetrics().horizontalAdvance(QStringLiteral("9999 ч. 59 мин.")));
    setFixedSize(QSize(278, 70).expandedTo(grid->totalSizeHint()));

    Timer = new QTimer(this);
    Timer->setInterval(60000);
    connect(Timer, &QTimer::timeout, this, &TFStat::TimerTimer);
    Timer->start();
}

void TFStat::TimerTimer() {
    ++m_minutes;
    LabelDatTime->setText(QString::fromStdString(session_time_text(m_minutes)));
}

void TFStat::set_traffic(const QString& sent, const QString& received) {
    LabelDatOut->setText(sent);
    LabelDatIn->setText(received);
}

void TFStat::ShowModal() {
    if (m_anchor && m_anchor->isVisible())
        move(m_anchor->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    exec();
}

}  // namespace zt
