#include "dialogs/job_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include "ui/frame_picture.h"

namespace zt {
namespace {

constexpr int kWidth = 340;
constexpr int kMargin = 12;
constexpr int kTextLeft = kMargin + 48 + 12;
constexpr int kTextWidth = kWidth - kTextLeft - kMargin;
// The shortest time between two redraws of the percentage, in milliseconds.
constexpr qint64 kRedrawInterval = 50;

void let_events_run() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

}  // namespace

TFJob::TFJob(std::function<bool()> confirm_cancel, unsigned char* cancel_flag, QWidget* parent)
    : CancelDialog(std::move(confirm_cancel), cancel_flag, parent) {
    setObjectName(QStringLiteral("TFJob"));
    setWindowTitle(QStringLiteral("Выполнение"));
    setModal(false);

    ImagePicture = new QLabel(this);
    ImagePicture->setObjectName(QStringLiteral("ImagePicture"));
    ImagePicture->setPixmap(picture(Picture::job));
    ImagePicture->setGeometry(kMargin, kMargin, 48, 48);

    LabelName = new QLabel(this);
    LabelName->setObjectName(QStringLiteral("LabelName"));
    LabelName->setTextFormat(Qt::PlainText);
    LabelName->setWordWrap(true);
    LabelName->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    LabelProgress = new QLabel(QStringLiteral("0 %"), this);
    LabelProgress->setObjectName(QStringLiteral("LabelProgress"));
    LabelProgress->setAlignment(Qt::AlignRight | Qt::AlignTop);

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);

    BitBtnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    BitBtnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtnCancel->setAutoDefault(false);
    connect(BitBtnCancel, &QPushButton::clicked, this, &TFJob::BitBtnCancelClick);
}

void TFJob::arrange() {
    const int name_height = LabelName->heightForWidth(kTextWidth);
    LabelName->setGeometry(kTextLeft, kMargin, kTextWidth - 50, name_height);
    LabelProgress->setGeometry(kWidth - kMargin - 50, kMargin, 50,
                               LabelProgress->sizeHint().height());
    const int bar_top = kMargin + std::max(name_height, LabelProgress->height()) + 8;
    const int bar_height = 18;
    ProgressBar->setGeometry(kTextLeft, bar_top, kTextWidth, bar_height);

    // The label's height + the bar's height + 50, plus the button's height with Cancel.
    int height = name_height + bar_height + 50;
    if (BitBtnCancel->isVisibleTo(this)) {
        const QSize b(90, 25);
        BitBtnCancel->setGeometry((kWidth - b.width()) / 2, height - 8, b.width(), b.height());
        height += b.height();
    }
    setFixedSize(kWidth, std::max(height, kMargin * 2 + 48));
}

void TFJob::JobBegin(const QString& text, bool with_cancel, bool with_percent) {
    clear_cancel();
    LabelName->setText(text);
    LabelProgress->setText(QStringLiteral("0 %"));
    ProgressBar->setValue(0);
    m_shown_percent = 0;
    m_since_redraw.invalidate();
    LabelProgress->setVisible(with_percent);
    ProgressBar->setVisible(with_percent);
    BitBtnCancel->setVisible(with_cancel);
    arrange();

    QRect area;
    if (m_anchor && m_anchor->isVisible() && !m_anchor->isMinimized())
        area = m_anchor->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
    follow_modal_window();
    show();
    raise();
    repaint();
    let_events_run();
}

void TFJob::JobProgress(int percent) {
    if (!isVisible()) return;
    if (m_since_redraw.isValid() && m_since_redraw.elapsed() < kRedrawInterval) return;
    percent = std::clamp(percent, 0, 100);
    if (percent != m_shown_percent) {
        m_shown_percent = percent;
        LabelProgress->setText(QString::number(percent) + QStringLiteral(" %"));
        ProgressBar->setValue(percent);
        repaint();
    } else if (!BitBtnCancel->isVisible()) {
        return;
    }
    if (BitBtnCancel->isVisible()) let_events_run();
    m_since_redraw.start();
}

bool TFJob::cancel_offered() const {
    return BitBtnCancel->isVisible();
}

void TFJob::follow_modal_window() {
    // Work started from a modal window (the print preview) would find this window blocked by
    // that window's modal loop; as the modal window's transient child it takes input.
    create();
    QWindow* own = windowHandle();
    if (!own) return;
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* home = parentWidget() ? parentWidget()->window() : nullptr;
    QWidget* owner = modal && modal != this ? modal : home;
    own->setTransientParent(owner ? owner->windowHandle() : nullptr);
}

void TFJob::JobEnd() {
    hide();
    let_events_run();
}

}  // namespace zt
