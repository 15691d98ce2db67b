#include "dialogs/progress_window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "ui/frame_picture.h"

namespace zt {
namespace {

constexpr int kWidth = 249;
constexpr int kHeight = 264;
constexpr int kFrameLeft = 8;
constexpr int kFrameWidth = kWidth - 2 * kFrameLeft;
constexpr int kFrameHeight = 84;

struct Frame {
    QLabel* part;
    QLabel* bytes;
    QLabel* percent;
};

// One of the two frames: its picture drawn once in grey, the head on the top edge, the
// picture and three caption/value rows.
Frame make_frame(QWidget* parent, int top, const QString& head, const QString& bytes_caption,
                 Picture which) {
    auto* frame = new QLabel(parent);
    frame->setGeometry(kFrameLeft, top, kFrameWidth, kFrameHeight);
    frame->setPixmap(frame_picture(frame->size(), parent->palette().color(QPalette::Window),
                                   QColor(128, 128, 128)));
    auto* head_label = new QLabel(head, parent);
    head_label->setAutoFillBackground(true);
    head_label->adjustSize();
    head_label->move(kFrameLeft + 14, top - head_label->height() / 2);

    auto* pic = new QLabel(parent);
    pic->setPixmap(picture(which));
    pic->setGeometry(kFrameLeft + 12, top + 20, 48, 48);

    Frame f{};
    const int caption_left = kFrameLeft + 70;
    const int value_left = caption_left + 76;
    const int value_width = kFrameLeft + kFrameWidth - 8 - value_left;
    const QString captions[3] = {QStringLiteral("Часть:"), bytes_caption,
                                 QStringLiteral("Готово:")};
    const QString values[3] = {QString(), QStringLiteral("0 байт"), QStringLiteral("0 %")};
    QLabel* value_labels[3] = {};
    for (int i = 0; i < 3; ++i) {
        const int y = top + 16 + i * 20;
        auto* c = new QLabel(captions[i], parent);
        c->setGeometry(caption_left, y, value_left - caption_left, 20);
        value_labels[i] = new QLabel(values[i], parent);
        value_labels[i]->setGeometry(value_left, y, value_width, 20);
    }
    f.part = value_labels[0];
    f.bytes = value_labels[1];
    f.percent = value_labels[2];
    return f;
}

}  // namespace

TFProgress::TFProgress(std::function<bool()> confirm_cancel, unsigned char* cancel_flag,
                       QWidget* parent)
    : CancelDialog(std::move(confirm_cancel), cancel_flag, parent) {
    setObjectName(QStringLiteral("TFProgress"));
    setWindowTitle(QStringLiteral("Центр соединений"));
    setModal(false);
    setFixedSize(kWidth, kHeight);

    constexpr int kUpTop = 14;
    constexpr int kBarTop = kUpTop + kFrameHeight + 8;
    constexpr int kDownTop = kBarTop + 16 + 16;
    const Frame up = make_frame(this, kUpTop, QStringLiteral(" Передача данных "),
                                QStringLiteral("Передано:"), Picture::upload);
    LabelFileUpVal = up.part;
    LabelBytesUpVal = up.bytes;
    LabelProcUpVal = up.percent;
    LabelFileUpVal->setObjectName(QStringLiteral("LabelFileUpVal"));
    LabelBytesUpVal->setObjectName(QStringLiteral("LabelBytesUpVal"));
    LabelProcUpVal->setObjectName(QStringLiteral("LabelProcUpVal"));

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);
    ProgressBar->setGeometry(kFrameLeft, kBarTop, kFrameWidth, 16);

    const Frame down = make_frame(this, kDownTop, QStringLiteral(" Прием данных "),
                                  QStringLiteral("Принято:"), Picture::download);
    LabelFileDownVal = down.part;
    LabelBytesDownVal = down.bytes;
    LabelProcDownVal = down.percent;
    LabelFileDownVal->setObjectName(QStringLiteral("LabelFileDownVal"));
    LabelBytesDownVal->setObjectName(QStringLiteral("LabelBytesDownVal"));
    LabelProcDownVal->setObjectName(QStringLiteral("LabelProcDownVal"));

    BitBtnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    BitBtnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtnCancel->setAutoDefault(false);
    BitBtnCancel->setGeometry((kWidth - 90) / 2, kHeight - 25 - 8, 90, 25);
    connect(BitBtnCancel, &QPushButton::clicked, this, &TFProgress::BitBtnCancelClick);
}

void TFProgress::open_centred() {
    QRect area;
    if (m_anchor && m_anchor->isVisible() && !m_anchor->isMinimized())
        area = m_anchor->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void TFProgress::show_labels(const net::ExchangeLabels& l) {
    const auto set = [](QLabel* label, const std::string& text) {
        label->setText(QString::fromStdString(text));
    };
    set(LabelFileUpVal, l.part_up);
    set(LabelBytesUpVal, l.bytes_up);
    set(LabelProcUpVal, l.percent_up);
    set(LabelFileDownVal, l.part_down);
    set(LabelBytesDownVal, l.bytes_down);
    set(LabelProcDownVal, l.percent_down);
    ProgressBar->setValue(l.bar);
    // The exchange runs on the download's worker and posts its figures here: a queued paint
    // keeps the window's thread free instead of painting the window on every post.
    if (isVisible()) update();
}

}  // namespace zt
