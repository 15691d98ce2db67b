#include "views/channel_window.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QToolButton>

#include "core/records.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "views/anons_window.h"
#include "views/rich_text.h"

namespace zt {

std::string member_description(const chl_local_list& member) {
    std::string text = member.descr;
    const std::string channel = member.chl ? member.chl->descr : std::string();
    if (!text.empty()) text += "\r\n----------\r\n";
    return text + channel;
}

std::string member_caption(const chl_local_list& member) {
    if (member.button.empty()) return member.name;
    return "[" + member.button + "] " + member.name;
}

TFChannel::TFChannel(const LogoImages& logos, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_logos(logos) {
    setObjectName(QStringLiteral("TFChannel"));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    setFixedSize(223, 193);

    ShapeLogo = new QWidget(this);
    ShapeLogo->setObjectName(QStringLiteral("ShapeLogo"));
    ShapeLogo->setGeometry(8, 8, 34, 34);
    ShapeLogo->setAutoFillBackground(true);
    QPalette frame = ShapeLogo->palette();
    frame.setColor(QPalette::Window, QColor(128, 128, 128));
    ShapeLogo->setPalette(frame);
    ImageLogo = new QLabel(ShapeLogo);
    ImageLogo->setObjectName(QStringLiteral("ImageLogo"));
    ImageLogo->setGeometry(1, 1, 32, 32);
    ImageLogo->setAutoFillBackground(true);
    ImageLogo->setAlignment(Qt::AlignCenter);
    LabelName = new QLabel(this);
    LabelName->setObjectName(QStringLiteral("LabelName"));
    LabelName->setGeometry(48, 8, 115, 18);
    QFont bold = font();
    bold.setBold(true);
    LabelName->setFont(bold);
    LabelTime = new QLabel(QStringLiteral("00:00"), this);
    LabelTime->setObjectName(QStringLiteral("LabelTime"));
    LabelTime->setGeometry(48, 26, 115, 16);
    ScrollBoxDescr = new RichTextArea(this);
    ScrollBoxDescr->setObjectName(QStringLiteral("ScrollBoxDescr"));
    ScrollBoxDescr->setGeometry(8, 48, 207, 137);
    BitBtnClose = new QToolButton(this);
    BitBtnClose->setObjectName(QStringLiteral("BitBtnClose"));
    BitBtnClose->setToolTip(QStringLiteral("Закрыть"));
    BitBtnClose->setIcon(view_icon("close"));
    BitBtnClose->setFixedSize(24, 24);
    BitBtnClose->move(width() - 8 - 24, 8);
    connect(BitBtnClose, &QToolButton::clicked, this, &QWidget::close);
}

QPoint TFChannel::place_at(const QPoint& pointer, const QSize& size, const QRect& work) {
    QPoint at = pointer;
    if (pointer.x() + size.width() > work.right() + 1) at.setX(pointer.x() - size.width());
    if (pointer.y() + size.height() > work.bottom() + 1) at.setY(pointer.y() - size.height());
    return at;
}

void TFChannel::ShowChannelInfo(const QString& caption, const QString& descr, const QString& time,
                                int logo) {
    LabelName->setText(caption);
    LabelName->setToolTip(caption);
    LabelTime->setText(time);
    const QPixmap* p = m_logos.logo(logo, 32);
    ImageLogo->setPixmap(p ? *p : QPixmap());
    // The window is placed first: the description wraps to nothing, so only its size counts.
    QWidget* anchor = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen =
        anchor && anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    move(place_at(QCursor::pos(), size(), work));
    show();
    RenderRichText(this, *ScrollBoxDescr, descr, false);
    raise();
    activateWindow();
    BitBtnClose->setFocus(Qt::OtherFocusReason);
}

void TFChannel::set_logo(const QPixmap& logo) {
    ImageLogo->setPixmap(logo);
}

void TFChannel::ShowChannelInfo(const chl_local_list& member) {
    ShowChannelInfo(from_cp(member_caption(member)), from_cp(member_description(member)),
                    from_cp(member.shift_text), member.logo);
}

void TFChannel::ShowChannelInfo(const chl_serv_list& channel) {
    ShowChannelInfo(from_cp(channel.name), from_cp(channel.descr), QString(), channel.logo);
}

void TFChannel::paintEvent(QPaintEvent*) {
    paint_popup_frame(*this);
}

void TFChannel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) update();
}

}  // namespace zt
