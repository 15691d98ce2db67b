#include "views/anons_window.h"

#include <QEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

#include "core/store.h"
#include "core/time_zones.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "views/rich_text.h"

namespace zt {
namespace {

constexpr int kTextHeight = 145;
constexpr int kPlainHeight = 37;
constexpr int kMinWidth = 470;

QToolButton* small_button(const char* name, const QString& hint, const char* icon,
                          QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(view_icon(icon));
    b->setIconSize(QSize(16, 16));
    b->setFixedSize(24, 24);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

void paint_popup_frame(QWidget& window) {
    QPainter p(&window);
    p.fillRect(window.rect(), window.palette().color(QPalette::Button));
    if (window.isActiveWindow()) {
        p.setPen(QPen(QColor(128, 0, 128), 2));
        p.drawRect(QRectF(window.rect()).adjusted(1, 1, -1, -1));
    } else {
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(window.rect().adjusted(0, 0, -1, -1));
    }
}

std::string further_parts_text(const all_list& store, const views::tvprog_local_list& row) {
    if (!row.prog || row.prog->continued != 1 || !row.member) return {};
    const auto next = row.prog->next_part.lock();
    if (!next) return {};
    // The parts of the chain that starts at the next part; a chain that loops back is counted
    // once round.
    int n = 0;
    std::vector<const tvprog_serv_list*> seen;
    for (auto p = next; p; p = p->next_part.lock()) {
        if (std::find(seen.begin(), seen.end(), p.get()) != seen.end()) break;
        seen.push_back(p.get());
        ++n;
    }
    const DateTime start = apply_shift(*row.member, next->start);
    return "Ещё будет: " + std::to_string(n) +
           ", ближайший: " + to_utf8(store.fs_view.formatTime(start)) + "   " +
           to_utf8(store.fs_view.formatDate(start));
}

TFAnons::TFAnons(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TFAnons"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    setMinimumSize(kMinWidth, 24);
    resize(kMinWidth, kTextHeight);

    ScrollBoxTxt = new RichTextArea(this);
    ScrollBoxTxt->setObjectName(QStringLiteral("ScrollBoxTxt"));
    ScrollBoxTxt->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBoxTxt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The picture stands in a one-pixel grey frame; the window's background shows round a
    // picture smaller than the frame.
    ShapePict = new QFrame(this);
    ShapePict->setObjectName(QStringLiteral("ShapePict"));
    ShapePict->setFrameStyle(QFrame::Box | QFrame::Plain);
    ShapePict->setLineWidth(1);
    QPalette frame = ShapePict->palette();
    frame.setColor(QPalette::WindowText, QColor(128, 128, 128));
    ShapePict->setPalette(frame);
    ImagePict = new QLabel(ShapePict);
    ImagePict->setObjectName(QStringLiteral("ImagePict"));
    ImagePict->setAlignment(Qt::AlignCenter);
    ImagePict->setGeometry(1, 1, 100, 100);
    LabelDbl = new QLabel(this);
    LabelDbl->setObjectName(QStringLiteral("LabelDbl"));
    BitBtnUp = small_button("BitBtnUp", QStringLiteral("Вверху"), "up", this);
    BitBtnDown = small_button("BitBtnDown", QStringLiteral("Внизу"), "down", this);
    BitBtnClose = small_button("BitBtnClose", QStringLiteral("Закрыть"), "close", this);
    connect(BitBtnUp, &QToolButton::clicked, this, [this] {
        m_above = true;
        if (m_reshow) m_reshow();
    });
    connect(BitBtnDown, &QToolButton::clicked, this, [this] {
        m_above = false;
        if (m_reshow) m_reshow();
    });
    connect(BitBtnClose, &QToolButton::clicked, this, &QWidget::close);
}

void TFAnons::lay_out() {
    const int w = width(), h = height();
    const int pict = 102;
    ShapePict->setGeometry(w - 7 - pict, 7, pict, pict);
    const int text_right = m_has_picture ? w - 7 - pict - 7 : w - 7;
    ScrollBoxTxt->setGeometry(7, 7, std::max(10, text_right - 7), 102);
    const int y = h - 24 - 6;
    BitBtnClose->move(w - 7 - 24, y);
    BitBtnDown->move(w - 7 - 24 * 2 - 2, y);
    BitBtnUp->move(w - 7 - 24 * 3 - 4, y);
    LabelDbl->setGeometry(9, y, std::max(10, w - 7 - 24 * 3 - 8 - 9), 24);
}

void TFAnons::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lay_out();
}

bool TFAnons::ShowFor(const all_list& store, const views::tvprog_local_list& row, int width,
                      int table_left, int row_top, int row_height, const QRect& work) {
    hide();
    m_prog = nullptr;
    if (!row.prog || !row.has_details()) return false;
    m_prog = row.prog.get();

    const auto& anons = row.prog->anons;
    m_has_text = anons != nullptr;
    QPixmap picture;
    if (anons && !anons->picture.empty()) {
        QImage image;
        if (image.loadFromData(reinterpret_cast<const uchar*>(anons->picture.data()),
                               int(anons->picture.size())))
            picture = QPixmap::fromImage(
                image.width() > 100 || image.height() > 100
                    ? image.scaled(100, 100, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                    : image);
    }
    m_has_picture = m_has_text && !picture.isNull();
    resize(std::max(width, kMinWidth), m_has_text ? kTextHeight : kPlainHeight);
    lay_out();
    ScrollBoxTxt->setVisible(m_has_text);
    ShapePict->setVisible(m_has_picture);
    ImagePict->setPixmap(picture);
    if (m_has_text) RenderRichText(this, *ScrollBoxTxt, from_cp(anons->text), true);

    const std::string parts = further_parts_text(store, row);
    LabelDbl->setText(QString::fromStdString(parts));
    LabelDbl->setVisible(!parts.empty());

    // Above the row or below it; a window that does not fit flips to the other side once.
    const int h = height();
    auto top_for = [&](bool above) { return above ? row_top - h + 1 : row_top + row_height; };
    int top = top_for(m_above);
    if (top < work.top()) {
        m_above = false;
        top = top_for(false);
    } else if (top + h > work.bottom() + 1) {
        m_above = true;
        top = top_for(true);
    }
    // Neither side fits (a very short screen): it stays inside the work area.
    top = std::max(work.top(), std::min(top, work.bottom() + 1 - h));
    move(table_left, top);
    show();
    raise();
    return true;
}

void TFAnons::paintEvent(QPaintEvent*) {
    paint_popup_frame(*this);
}

void TFAnons::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) update();
}

}  // namespace zt
