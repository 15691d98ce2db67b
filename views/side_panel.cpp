#include "views/side_panel.h"

#include <QEvent>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace zt {
namespace {

QWidget* make_area(const char* name, QWidget* parent) {
    auto* w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelUtils"));
    setMinimumSize(30, 30);

    SplitterUtils = new QSplitter(Qt::Vertical, this);
    SplitterUtils->setObjectName(QStringLiteral("SplitterUtils"));
    SplitterUtils->setHandleWidth(3);
    SplitterUtils->setChildrenCollapsible(false);

    ScrollBoxChannels = new QScrollArea(SplitterUtils);
    ScrollBoxChannels->setObjectName(QStringLiteral("ScrollBoxChannels"));
    ScrollBoxChannels->setAccessibleName(QStringLiteral("Панель каналов"));
    ScrollBoxChannels->setMinimumSize(25, 25);
    ScrollBoxChannels->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBoxChannels->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBoxChannels->setWidgetResizable(true);
    ScrollBoxChannels->setFrameShape(QFrame::StyledPanel);
    ChannelPanelArea = make_area("ChannelPanelArea", ScrollBoxChannels);
    ScrollBoxChannels->setWidget(ChannelPanelArea);

    ScrollBoxTypes = new QScrollArea(SplitterUtils);
    ScrollBoxTypes->setAccessibleName(QStringLiteral("Панель типов передач"));
    ScrollBoxTypes->setObjectName(QStringLiteral("ScrollBoxTypes"));
    ScrollBoxTypes->setMinimumSize(30, 30);
    ScrollBoxTypes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBoxTypes->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBoxTypes->setWidgetResizable(true);
    ScrollBoxTypes->setFrameShape(QFrame::StyledPanel);
    QPalette white = ScrollBoxTypes->palette();
    white.setColor(QPalette::Window, Qt::white);
    ScrollBoxTypes->setPalette(white);
    ScrollBoxTypes->setBackgroundRole(QPalette::Window);
    ScrollBoxTypes->setAutoFillBackground(true);
    GenrePanelArea = make_area("GenrePanelArea", ScrollBoxTypes);
    GenrePanelArea->setPalette(white);
    GenrePanelArea->setAutoFillBackground(true);
    ScrollBoxTypes->setWidget(GenrePanelArea);

    SplitterUtils->addWidget(ScrollBoxChannels);
    SplitterUtils->addWidget(ScrollBoxTypes);
    SplitterUtils->setStretchFactor(0, 1);
    SplitterUtils->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SplitterUtils);
}

void SidePanel::arrange(bool upright, bool channels, bool types) {
    const bool turned = upright != m_upright;
    m_upright = upright;
    SplitterUtils->setOrientation(upright ? Qt::Vertical : Qt::Horizontal);
    ScrollBoxChannels->setVisible(channels);
    ScrollBoxTypes->setVisible(types);
    if (channels && types) {
        const int total = upright ? height() : width();
        const int half = total > 1 ? total / 2 : 1;
        SplitterUtils->setSizes({half, total > 1 ? total - half : 1});
    }
    if (turned) emit orientation_changed(upright);
}

QList<int> SidePanel::panel_sizes() const {
    return SplitterUtils->sizes();
}

void SidePanel::set_panel_sizes(int channels, int types) {
    if (ScrollBoxChannels->isVisibleTo(this) && ScrollBoxTypes->isVisibleTo(this) && channels > 0 &&
        types > 0)
        SplitterUtils->setSizes({channels, types});
}

SidePanelLayout::SidePanelLayout(QSplitter& general, SidePanel& panel, QWidget& pages)
    : m_general(general), m_panel(panel), m_pages(pages) {
    m_general.setObjectName(QStringLiteral("SplitterGeneral"));
    m_general.setChildrenCollapsible(false);
    m_general.addWidget(&m_panel);
    m_general.addWidget(&m_pages);
    m_general.setOrientation(Qt::Horizontal);
    m_general.setStretchFactor(0, 0);
    m_general.setStretchFactor(1, 1);
    m_general.setSizes({m_upright_thickness, 1000});
    m_general.installEventFilter(this);
}

int SidePanelLayout::thickness() const {
    if (m_pending || !m_panel.isVisibleTo(&m_general))
        return upright() ? m_upright_thickness : m_flat_thickness;
    return upright() ? m_panel.width() : m_panel.height();
}

void SidePanelLayout::set_thickness(int pixels) {
    if (pixels < m_panel.minimumWidth()) return;
    (upright() ? m_upright_thickness : m_flat_thickness) = pixels;
    m_pending = true;
    apply_thickness();
}

void SidePanelLayout::apply_thickness() {
    const int total =
        m_general.orientation() == Qt::Horizontal ? m_general.width() : m_general.height();
    // Before the window is shown its size means nothing; the resize that shows it applies.
    if (!m_general.isVisible() || total <= 0) return;
    m_pending = false;
    const int room = total - m_general.handleWidth();
    const int wanted = upright() ? m_upright_thickness : m_flat_thickness;
    // Placed or restored, the side panel takes at most half the window (a lying panel given
    // the height it had upright would hide the pages); dragging the splitter may go further.
    const int pixels = std::clamp(wanted, std::min(30, room), std::max(room / 2, 30));
    const int rest = std::max(room - pixels, 1);
    const bool first = m_general.indexOf(&m_panel) == 0;
    m_general.setSizes(first ? QList<int>{pixels, rest} : QList<int>{rest, pixels});
}

bool SidePanelLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_general && m_pending &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        apply_thickness();
    return QObject::eventFilter(watched, event);
}

void SidePanelLayout::remember_thickness() {
    // Only a panel laid out on screen has a thickness worth keeping: a hidden one (or one just
    // shown again, before the splitter gave it room) reads as the collapsed minimum.
    if (!m_pending && m_panel.isVisibleTo(&m_general))
        (upright() ? m_upright_thickness : m_flat_thickness) =
            upright() ? m_panel.width() : m_panel.height();
}

void SidePanelLayout::dock(PanelEdge edge) {
    m_edge = edge;
    const bool first = edge == PanelEdge::left || edge == PanelEdge::top;
    m_general.setOrientation(upright() ? Qt::Horizontal : Qt::Vertical);
    m_general.insertWidget(first ? 0 : 1, &m_panel);
    const int panel_index = m_general.indexOf(&m_panel);
    m_general.setStretchFactor(panel_index, 0);
    m_general.setStretchFactor(1 - panel_index, 1);
    m_pending = true;
    apply_thickness();
}

std::optional<QRect> SidePanel::channels_rect() const {
    if (!ScrollBoxChannels->isVisibleTo(this)) return std::nullopt;
    return ScrollBoxChannels->geometry();
}

std::optional<QRect> SidePanel::types_rect() const {
    if (!ScrollBoxTypes->isVisibleTo(this)) return std::nullopt;
    return ScrollBoxTypes->geometry();
}

void SidePanelLayout::LayoutSidePanel(std::optional<PanelEdge> edge, bool channels, bool types) {
    // Remember how thick the panel is now, before it is hidden or turned.
    remember_thickness();
    if (!channels && !types) {
        m_panel.hide();
        return;
    }
    const bool was_hidden = m_panel.isHidden();
    m_panel.show();
    if (edge) {
        dock(*edge);
    } else if (was_hidden) {
        m_pending = true;
        apply_thickness();
    }
    m_panel.arrange(upright(), channels, types);
}

}  // namespace zt
