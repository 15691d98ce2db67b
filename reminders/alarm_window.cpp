#include "reminders/alarm_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "reminders/logic/alarm_placement.h"
#include "storage/settings.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"

namespace zt {
namespace {

constexpr int kTabWidth = 24;
constexpr int kStepMs = 50;  // one step of the appearance

// Tabs of one width whatever their captions.
class NarrowTabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        // 24 pixels, or what the style needs to draw the number.
        const QSize hint = QTabBar::tabSizeHint(index);
        return {std::max(kTabWidth, hint.width()), hint.height()};
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

class AlarmPages final : public QTabWidget {
public:
    explicit AlarmPages(QWidget* parent) : QTabWidget(parent) { setTabBar(new NarrowTabBar(this)); }
};

int font_points(int size) {
    return size == 2 ? 12 : size == 1 ? 10 : 8;
}

}  // namespace

void AlarmProgressBar::mousePressEvent(QMouseEvent*) {
    emit pressed();
}

TFAlarmWin::TFAlarmWin(Settings& settings, const LogoImages& logos, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowDoesNotAcceptFocus),
      m_settings(settings),
      m_logos(logos) {
    setObjectName(QStringLiteral("TFAlarmWin"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    resize(197, 102);

    PageControl = new AlarmPages(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setFocusPolicy(Qt::NoFocus);
    PageControl->tabBar()->setFocusPolicy(Qt::NoFocus);
    PageControl->tabBar()->setElideMode(Qt::ElideNone);
    PageControl->setUsesScrollButtons(true);
    BitBtnClose = new QToolButton(this);
    BitBtnClose->setObjectName(QStringLiteral("BitBtnClose"));
    BitBtnClose->setToolTip(QStringLiteral("Закрыть"));
    BitBtnClose->setIcon(view_icon("close"));
    BitBtnClose->setFocusPolicy(Qt::NoFocus);
    BitBtnClose->setAutoRaise(true);
    ProgressBar = new AlarmProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setTextVisible(false);
    ProgressBar->setToolTip(QStringLiteral("Пауза"));
    ProgressBar->hide();

    m_anim = new QPropertyAnimation(this);
    m_anim->setTargetObject(this);
    connect(m_anim, &QPropertyAnimation::finished, this, &TFAlarmWin::finish_show);
    connect(BitBtnClose, &QToolButton::clicked, this, &TFAlarmWin::BitBtnCloseClick);
    connect(ProgressBar, &AlarmProgressBar::pressed, this, &TFAlarmWin::progress_pressed);
    connect(PageControl, &QTabWidget::currentChanged, this, [this] { place_controls(); });
}

TFAlarmWin::~TFAlarmWin() = default;

int TFAlarmWin::icon_size() const {
    const int size = m_settings.alarm_window.size;
    return size == 2 ? 32 : size == 1 ? 24 : 16;
}

int TFAlarmWin::tab_count() const {
    return PageControl->count();
}

QWidget* TFAlarmWin::make_tab(const reminders::AlarmEvent& e) const {
    const int s = icon_size();
    auto* page = new QWidget;
    QFont font = this->font();
    font.setPointSize(font_points(m_settings.alarm_window.size));
    font.setBold(m_settings.alarm_window.bold);

    auto* square = new QLabel(page);  // the white frame behind the logo
    square->setObjectName(QStringLiteral("Square"));
    square->setAutoFillBackground(true);
    square->setStyleSheet(QStringLiteral("background: white;"));
    square->setGeometry(4, 0, s + 2, s + 2);
    auto* logo = new QLabel(page);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setGeometry(5, 1, s, s);
    if (const QPixmap* p = m_logos.logo(e.ChannelLogo, s)) logo->setPixmap(*p);
    logo->setToolTip(from_cp(e.ChannelHint));
    auto* genre = new QLabel(page);
    genre->setObjectName(QStringLiteral("Genre"));
    genre->setGeometry(5, s + 7, s, s);
    genre->setPixmap(type_icon(e.GenreIcon, s));
    genre->setToolTip(from_cp(e.GenreName));
    genre->setVisible(e.GenreIcon != -1);

    auto label = [&](const char* name, const QString& text, int centre_y) {
        auto* l = new QLabel(text, page);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(font);
        l->adjustSize();
        l->move(s + 9, centre_y - l->height() / 2);
        return l;
    };
    QLabel* caption = label("Caption", from_cp(e.ChannelCaption), 1 + s / 2);
    // How soon the programme starts, inside the window too: without a window manager there is
    // no title bar to show it.
    QLabel* lead = label("Lead", from_cp(e.LeadText), 1 + s / 2);
    lead->move(caption->x() + caption->width() + 12, lead->y());
    label("Title", from_cp(e.StartText + " " + e.TitleText), s + 7 + s / 2);
    return page;
}

void TFAlarmWin::AlarmWinAdd(const reminders::AlarmEvent& e, int bar_max) {
    const int s = icon_size();
    setWindowTitle(from_cp(e.LeadText));
    const int n = PageControl->count();
    const int number = n == 0 ? 1 : PageControl->tabText(n - 1).toInt() + 1;
    QWidget* page = make_tab(e);
    PageControl->addTab(page, QString::number(number));
    // The window grows to show the channel and the lead whole.
    if (const auto* lead = page->findChild<QLabel*>(QStringLiteral("Lead"))) {
        m_need_width = std::max(m_need_width, lead->x() + lead->width() + 12);
        if (width() < m_need_width) resize(m_need_width, height());
    }
    PageControl->setCurrentIndex(n);
    const int header = PageControl->tabBar()->sizeHint().height();
    PageControl->setMinimumHeight(std::max(PageControl->minimumHeight(), 3 * s + header + 30));
    BitBtnClose->setFixedSize(s + 8, s + 8);
    BitBtnClose->setIconSize(QSize(s, s));
    ProgressBar->setVisible(bar_max > 0);
    ProgressBar->setRange(0, std::max(bar_max, 1));
    ProgressBar->setValue(0);
    setMinimumHeight(PageControl->minimumHeight());
    if (height() < minimumHeight()) resize(width(), minimumHeight());
    place_controls();
}

void TFAlarmWin::set_progress(int position) {
    ProgressBar->setValue(std::min(position, ProgressBar->maximum()));
}

void TFAlarmWin::set_paused(bool paused) {
    ProgressBar->setToolTip(paused ? QStringLiteral("Продолжить") : QStringLiteral("Пауза"));
}

void TFAlarmWin::place_controls() {
    PageControl->setGeometry(rect());
    if (PageControl->count() == 0) return;
    // The tab's area below the tab headers, inside the page frame (known before the tab
    // widget has laid its pages out).
    const int s = icon_size();
    const int header = PageControl->tabBar()->sizeHint().height();
    const QRect r = QRect(0, header, width(), height() - header).adjusted(2, 2, -2, -2);
    const QSize b = BitBtnClose->size();
    BitBtnClose->move(r.left() + r.width() - b.width() - 1, r.top() + r.height() - b.height());
    ProgressBar->setGeometry(r.left(), BitBtnClose->y() + b.height() / 2 - s / 2,
                             std::max(BitBtnClose->x() - r.left() - 7, 10), s);
    BitBtnClose->raise();
    ProgressBar->raise();
}

void TFAlarmWin::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Shown without animation, the window learns its frame only when the window manager has
    // framed it: it is placed once more by the framed size, so nothing of it is off the screen.
    if (m_frame_unknown && isVisible() && m_anim->state() != QAbstractAnimation::Running &&
        frameGeometry().size() != m_placed_size)
        finish_show();
}

void TFAlarmWin::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_controls();
    if (m_sized) {
        m_settings.alarm_general.window_width = width();
        m_settings.alarm_general.window_height = height();
    }
}

void TFAlarmWin::AlarmWinShow() {
    const AlarmWindowSettings& w = m_settings.alarm_window;
    if (!m_sized) {
        m_sized = true;
        resize(std::max({m_settings.alarm_general.window_width, 60, m_need_width}),
               std::max(m_settings.alarm_general.window_height, minimumHeight()));
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screens.isEmpty()) screen = screens[monitor_index(w.monitor, int(screens.size()))];
    const QRect wa = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QSize size = frameGeometry().size().expandedTo(this->size());
    m_area = wa;
    m_placed_size = size;
    m_frame_unknown = true;
    m_place = reminders::alarm_window_place(wa, size, w.pos1, w.pos2);
    m_alpha = reminders::alarm_alpha(w.alpha);
    const reminders::AlarmAnimation a =
        reminders::alarm_animation(w.anim, wa, size, m_place, m_alpha);

    m_anim->stop();
    if (a.kind == reminders::AlarmAnimation::Kind::none || a.steps == 0) {
        finish_show();
        show();
        return;
    }
    if (a.kind == reminders::AlarmAnimation::Kind::fade) {
        move(m_place);
        setWindowOpacity(0.0);
        m_anim->setPropertyName("windowOpacity");
        m_anim->setStartValue(0.0);
        m_anim->setEndValue(m_alpha / 255.0);
    } else {
        setWindowOpacity(m_alpha / 255.0);
        move(a.from);
        m_anim->setPropertyName("pos");
        m_anim->setStartValue(a.from);
        m_anim->setEndValue(a.to);
    }
    m_anim->setDuration(a.steps * kStepMs);
    show();
    m_anim->start();
}

void TFAlarmWin::finish_show() {
    // The exact end: in place and with the configured transparency. The window manager's
    // frame is known only once the window is shown; placed by the bare window's size, the
    // frame's title bar would push the window's bottom (its close button) off the screen.
    const QSize framed = frameGeometry().size().expandedTo(size());
    if (isVisible() && !m_area.isEmpty()) {
        const AlarmWindowSettings& w = m_settings.alarm_window;
        m_placed_size = framed;
        m_place = reminders::alarm_window_place(m_area, framed, w.pos1, w.pos2);
        // Placed once by the frame: later moves and resizes are the user's own.
        m_frame_unknown = framed == size();
    }
    move(m_place);
    setWindowOpacity(m_alpha / 255.0);
}

void TFAlarmWin::BitBtnCloseClick() {
    const int i = PageControl->currentIndex();
    if (i < 0) return;
    QWidget* page = PageControl->widget(i);
    PageControl->removeTab(i);
    delete page;
    if (PageControl->count() > 0)
        PageControl->setCurrentIndex(PageControl->count() - 1);
    else
        close();
}

void TFAlarmWin::closeEvent(QCloseEvent* event) {
    m_anim->stop();
    while (PageControl->count() > 0) {
        QWidget* page = PageControl->widget(0);
        PageControl->removeTab(0);
        delete page;
    }
    event->accept();
}

}  // namespace zt
