#include "dialogs/msg_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "ui/frame_picture.h"

namespace zt {
namespace {

constexpr int kFrameLeft = 15;
constexpr int kFrameTop = 15;
constexpr int kFrameWidth = 314;
constexpr int kFrameHeight = 78;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = 100;

QPushButton* make_button(QWidget* parent, const QString& caption, QStyle::StandardPixmap icon) {
    auto* b = new QPushButton(caption, parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->resize(kButtonWidth, kButtonHeight);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TFMsg::TFMsg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TFMsg"));
    setWindowTitle(QStringLiteral("Сообщение"));
    setModal(true);

    PanelInfo = make_panel(QStringLiteral(" Информация "), int(Picture::information));
    PanelInfo.panel->setObjectName(QStringLiteral("PanelInfo"));
    BitBtnInfo = make_button(PanelInfo.panel, QStringLiteral("OK"), QStyle::SP_DialogOkButton);
    BitBtnInfo->setObjectName(QStringLiteral("BitBtnInfo"));
    connect(BitBtnInfo, &QPushButton::clicked, this, &QDialog::reject);

    PanelError = make_panel(QStringLiteral(" Ошибка "), int(Picture::error));
    PanelError.panel->setObjectName(QStringLiteral("PanelError"));
    BitBtnError = make_button(PanelError.panel, QStringLiteral("OK"), QStyle::SP_DialogOkButton);
    BitBtnError->setObjectName(QStringLiteral("BitBtnError"));
    connect(BitBtnError, &QPushButton::clicked, this, &QDialog::reject);

    PanelDialog = make_panel(QStringLiteral(" Вопрос "), int(Picture::question));
    PanelDialog.panel->setObjectName(QStringLiteral("PanelDialog"));
    BitBtnYes = make_button(PanelDialog.panel, QStringLiteral("Да"), QStyle::SP_DialogYesButton);
    BitBtnYes->setObjectName(QStringLiteral("BitBtnYes"));
    BitBtnNo = make_button(PanelDialog.panel, QStringLiteral("Нет"), QStyle::SP_DialogNoButton);
    BitBtnNo->setObjectName(QStringLiteral("BitBtnNo"));
    connect(BitBtnYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtnNo, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(kWidth, kBaseHeight);
    place_buttons(0);
}

TFMsg::Panel TFMsg::make_panel(const QString& head, int picture_kind) {
    Panel p;
    p.panel = new QWidget(this);
    p.panel->setGeometry(0, 0, kWidth, kBaseHeight);
    p.panel->hide();
    p.frame = new QLabel(p.panel);
    p.frame->move(kFrameLeft, kFrameTop);
    p.picture = new QLabel(p.panel);
    p.picture->setPixmap(picture(Picture(picture_kind)));
    p.picture->setGeometry(30, 30, 48, 48);
    p.head = new QLabel(head, p.panel);
    p.head->setAutoFillBackground(true);  // opaque: it interrupts the frame's top line
    p.head->move(30, 8);
    p.head->adjustSize();
    p.text = new QLabel(p.panel);
    p.text->setTextFormat(Qt::PlainText);
    p.text->setWordWrap(true);
    p.text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    p.text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    p.text->move(93, 30);
    return p;
}

void TFMsg::place_buttons(int extra) {
    const int top = kButtonTop + extra;
    BitBtnInfo->move((kWidth - kButtonWidth) / 2, top);
    BitBtnError->move((kWidth - kButtonWidth) / 2, top);
    BitBtnYes->move(kWidth / 2 - kButtonWidth - 5, top);
    BitBtnNo->move(kWidth / 2 + 5, top);
}

void TFMsg::centre() {
    QRect area;
    if (m_anchor && m_anchor->isVisible() && !m_anchor->isMinimized()) {
        area = m_anchor->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
}

bool TFMsg::ShowMsg(MsgKind kind, const QString& text) {
    if (isVisible()) {
        // A message raised while another one waits for its answer (a timer, a nested job)
        // gets a window of its own instead of replacing the one on screen.
        TFMsg nested(parentWidget());
        nested.set_anchor(m_anchor);
        return nested.ShowMsg(kind, text);
    }
    PanelInfo.panel->hide();
    PanelError.panel->hide();
    PanelDialog.panel->hide();
    QString shown = text;
    switch (kind) {
        case MsgKind::Error:
            m_current = &PanelError;
            break;
        case MsgKind::Question:
            m_current = &PanelDialog;
            break;
        case MsgKind::Server:
            m_current = &PanelError;
            shown = QStringLiteral("Сервер сообщает:\n") + text;
            break;
        default:
            m_current = &PanelInfo;
            break;
    }
    Panel& p = *m_current;
    p.text->setText(shown);
    const int label_height = p.text->heightForWidth(kTextWidth);
    p.text->resize(kTextWidth, label_height);
    const int extra = extra_height(label_height);

    setFixedSize(kWidth, kBaseHeight + extra);
    p.panel->resize(kWidth, kBaseHeight + extra);
    const QSize frame(kFrameWidth, kFrameHeight + extra);
    p.frame->resize(frame);
    p.frame->setPixmap(
        frame_picture(frame, palette().color(QPalette::Window), palette().color(QPalette::Dark)));
    p.head->raise();
    place_buttons(extra);
    p.panel->show();
    centre();

    QPushButton* focus =
        kind == MsgKind::Question ? BitBtnYes : (kind == MsgKind::Info ? BitBtnInfo : BitBtnError);
    focus->setDefault(true);
    focus->setFocus();
    return exec() == QDialog::Accepted && kind == MsgKind::Question;
}

}  // namespace zt
