#include "views/genre_panel.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <QWheelEvent>

#include "core/cp1251.h"
#include "core/genres.h"
#include "core/store.h"
#include "storage/settings.h"
#include "ui/cp_text.h"
#include "ui/image_lists.h"
#include "ui/menu_items.h"
#include "ui/panel_resources.h"
#include "ui/row_painter.h"
#include "views/logic/genre_filter.h"
#include "views/logic/panel_layout.h"
#include "views/logic/view_state.h"
#include "views/panel_view_actions.h"

namespace zt {
namespace {

QIcon main_icon(int index) {
    return QIcon(QStringLiteral(":/panels/main/%1.png").arg(index));
}

// Icon `index` of the genre icon list of `size` with overlay `overlay` (13, 14, 15) drawn over
// it; no overlay for -1.
QPixmap glyph(int index, int overlay, int size) {
    QPixmap out = type_icon(index, size);
    if (out.isNull()) {
        out = QPixmap(size, size);
        out.fill(Qt::transparent);
    }
    if (overlay >= 0) {
        out = out.copy();
        QPainter p(&out);
        p.drawPixmap(0, 0, type_icon(overlay, size));
    }
    return out;
}

// The three commands at the top of a family's menus, named "MM" + 1..3 + the family row's id.
std::array<QAction*, 3> make_family_commands(QObject& owner, int id) {
    const QString captions[3] = {QStringLiteral("Пометить все"), QStringLiteral("Инверсия"),
                                 QStringLiteral("Снять со всех")};
    std::array<QAction*, 3> items{};
    for (int p = 0; p < 3; ++p) {
        auto* a = new QAction(main_icon(p + 1), captions[p], &owner);
        a->setObjectName(QStringLiteral("MM%1%2").arg(p + 1).arg(id));
        items[std::size_t(p)] = a;
    }
    return items;
}

// A panel button: its glyph at the left and the caption after it, with less padding than the
// style gives a tool button, so the family names fit the design width; only the glyph,
// centred, when the caption is empty (compact mode).
class GenreButton final : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        p.drawComplexControl(QStyle::CC_ToolButton, option);

        const int s = iconSize().width();
        const int shift = isDown() ? 1 : 0;
        const QPixmap glyph = icon().pixmap(iconSize());
        const QString caption = QString(text()).replace(QStringLiteral("&&"), QStringLiteral("&"));
        if (caption.isEmpty()) {
            p.drawPixmap((width() - s) / 2 + shift, (height() - s) / 2 + shift, glyph);
            return;
        }
        p.drawPixmap(3 + shift, (height() - s) / 2 + shift, glyph);
        const QRect text_rect(3 + s + 3 + shift, shift, width() - s - 8, height());
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::ButtonText));
        // A caption too long for the button is drawn condensed, and shortened only when even
        // that does not fit (the desktop's font may be wider than the one the sizes suit).
        QFont f = font();
        if (QFontMetrics(f).horizontalAdvance(caption) > text_rect.width())
            f.setStretch(QFont::Condensed);
        p.setFont(f);
        p.drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   QFontMetrics(f).elidedText(caption, Qt::ElideRight, text_rect.width()));
    }
};

const char* const kSysNames[5] = {"SysClear", "SysLoveN", "SysMark", "SysLoveY", "SysAlarm"};
const char* const kSysCaptions[5] = {"Без типа", "Не любимые", "Маркер", "Любимые", "Оповещение"};

}  // namespace

GenrePanel::GenrePanel(ViewState& view, Settings& settings, QWidget* parent)
    : PanelBase(view, settings,
                {"GenrePanel", "MTypes", QStringLiteral("&Типы"), "MPanelUtilsTypes"},
                settings.genre_panel.detailed, settings.genre_panel.icon_size, parent) {
    m_group_radio = new QActionGroup(this);
    m_group_radio->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    build_fixed();
    SetGenrePanelSize(16);
}

GenrePanel::~GenrePanel() = default;

void GenrePanel::set_scroll_area(QScrollArea* area) {
    m_scroll = area;
    if (m_scroll) {
        m_scroll->viewport()->installEventFilter(this);
        m_scroll->installEventFilter(this);
    }
}

QToolButton* GenrePanel::add_button(const QString& name, const QString& caption, QMenu* popup) {
    auto* b = new GenreButton(this);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setFocusPolicy(Qt::StrongFocus);
    // The popup opens under the button on a click and on Space.
    connect(b, &QToolButton::clicked, popup,
            [b, popup] { popup->popup(b->mapToGlobal(QPoint(0, b->height()))); });
    b->show();
    m_buttons.push_back(b);
    m_captions.push_back(caption);
    m_glyphs.emplace_back();
    return b;
}

void GenrePanel::build_fixed() {
    QMenu& types = *m_menu;
    MTypesGroup = types.addMenu(QStringLiteral("Группы"));
    MTypesGroup->setObjectName(QStringLiteral("MTypesGroup"));
    MTypesAll = types.addMenu(QStringLiteral("Все типы"));
    MTypesAll->setObjectName(QStringLiteral("MTypesAll"));
    const char* all_names[3] = {"MTypesAllOn", "MTypesAllInv", "MTypesAllOff"};
    const QString all_captions[3] = {QStringLiteral("Пометить все"), QStringLiteral("Инверсия"),
                                     QStringLiteral("Снять со всех")};
    types.addSeparator();
    MTypesSys = types.addMenu(QStringLiteral("Системные"));
    MTypesSys->setObjectName(QStringLiteral("MTypesSys"));

    PopupMenuTypesGroup = new QMenu(this);
    PopupMenuTypesGroup->setObjectName(QStringLiteral("PopupMenuTypesGroup"));
    PopupMenuTypesAll = new QMenu(this);
    PopupMenuTypesAll->setObjectName(QStringLiteral("PopupMenuTypesAll"));
    PopupMenuTypesSys = new QMenu(this);
    PopupMenuTypesSys->setObjectName(QStringLiteral("PopupMenuTypesSys"));

    // Each item shows in "Типы" and in the button's popup alike.
    for (int p = 0; p < 3; ++p) {
        QAction* a = MTypesAll->addAction(all_captions[p]);
        a->setObjectName(QLatin1String(all_names[p]));
        PopupMenuTypesAll->addAction(a);
        MTypesAllItems[std::size_t(p)] = a;
        connect(a, &QAction::triggered, this, [this, p] { all_command(p); });
    }

    const SystemCategories& system = m_view.genres.system();
    for (int c = 0; c < 5; ++c) {
        if (c == 4) {
            MTypesSys->addSeparator();
            PopupMenuTypesSys->addSeparator();
        }
        QAction* item = MTypesSys->addAction(QString::fromUtf8(kSysCaptions[c]));
        item->setObjectName(QStringLiteral("MTypes") + QLatin1String(kSysNames[c]));
        item->setCheckable(true);
        item->setChecked(system.on[std::size_t(c)]);
        PopupMenuTypesSys->addAction(item);
        MTypesSysItems[std::size_t(c)] = item;
        connect(item, &QAction::triggered, this, [this, c] { toggle_system(c); });
        if (c == 0) {
            MTypesSys->addSeparator();
            PopupMenuTypesSys->addSeparator();
        }
    }

    add_button(QStringLiteral("BBTG"), QStringLiteral("Группы"), PopupMenuTypesGroup);
    add_button(QStringLiteral("BBTA"), QStringLiteral("Все типы"), PopupMenuTypesAll);
    add_button(QStringLiteral("BBTS"), QStringLiteral("Системные"), PopupMenuTypesSys);
}

void GenrePanel::BuildGenreControls() {
    if (m_built) return;
    m_built = true;
    const auto& types = m_view.store.types;
    m_type_items.assign(types.size(), nullptr);
    QMenu* family_menu = nullptr;
    QMenu* family_popup = nullptr;
    for (std::size_t row = 0; row < types.size(); ++row) {
        const type_serv_list& t = *types[row];
        const int id = t.id;
        if (t.sub == -1) {
            family_popup = new QMenu(this);
            family_popup->setObjectName(QStringLiteral("PopupMenuTypes%1").arg(t.family));
            family_menu = m_menu->addMenu(menu_text(t.name));
            family_menu->setObjectName(QStringLiteral("MTypes%1").arg(t.family));
            // The family's menu in "Типы" and its button's popup show the same items.
            const auto commands = make_family_commands(*this, id);
            for (int p = 0; p < 3; ++p)
                connect(commands[std::size_t(p)], &QAction::triggered, this,
                        [this, p, id] { family_command(p, id); });
            for (QMenu* m : {family_menu, family_popup}) {
                for (QAction* a : commands) m->addAction(a);
                m->addSeparator();
            }
            m_family_menus.push_back(family_menu);
            m_family_popups.push_back(family_popup);
            add_button(QStringLiteral("BBT%1").arg(t.family), menu_text(t.name), family_popup);
            continue;
        }
        if (!family_menu) continue;  // a sub-genre before any family row has no menu to go in
        auto* item = new QAction(menu_text(t.name), this);
        item->setObjectName(QStringLiteral("MMT%1").arg(id));
        item->setCheckable(true);
        item->setChecked(t.filter_on == 1);
        connect(item, &QAction::triggered, this,
                [this, id](bool checked) { set_genre(id, checked); });
        family_menu->addAction(item);
        family_popup->addAction(item);
        m_type_items[row] = item;
    }
    SetGenrePanelSize(m_size);
}

void GenrePanel::BuildGenreGroupMenus() {
    ClearGenreGroupMenus();
    const auto& groups = m_view.store.type_groups;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const int index = int(i);
        // One item per group, in "Группы" of "Типы" and in the "Группы" popup.
        auto* item = new QAction(menu_text(groups[i]->name), this);
        item->setCheckable(true);
        item->setChecked(index == m_view.genres.checked_group());
        connect(item, &QAction::triggered, this, [this, index] { choose_group(index); });
        MTypesGroup->addAction(item);
        PopupMenuTypesGroup->addAction(item);
        m_group_radio->addAction(item);
        m_group_items.push_back(item);
    }
}

void GenrePanel::ClearGenreGroupMenus() {
    for (QAction* a : m_group_items) delete a;
    m_group_items.clear();
}

// --- commands

void GenrePanel::choose_group(int index) {
    m_view.genres.choose_group(index);
    sync_marks();
    rebuild();
}

void GenrePanel::all_command(int position) {
    m_view.genres.all_command(position);
    sync_marks();
    rebuild();
}

void GenrePanel::family_command(int position, int genre_id) {
    m_view.genres.family_command(position, genre_id);
    sync_marks();
    rebuild();
}

void GenrePanel::set_genre(int genre_id, bool checked) {
    m_view.genres.set_genre(genre_id, checked);
    sync_marks();
    rebuild();
}

void GenrePanel::toggle_system(int category) {
    if (category < 0 || category >= 5) return;
    m_view.genres.system().on[std::size_t(category)] =
        MTypesSysItems[std::size_t(category)]->isChecked();
    rebuild();
}

void GenrePanel::sync_marks() {
    const int group = m_view.genres.checked_group();
    for (std::size_t i = 0; i < m_group_items.size(); ++i)
        m_group_items[i]->setChecked(int(i) == group);
    const SystemCategories& system = m_view.genres.system();
    for (std::size_t c = 0; c < 5; ++c) MTypesSysItems[c]->setChecked(system.on[c]);
    RefreshGenreMarks();
}

QPixmap GenrePanel::family_glyph(int family_index) const {
    const std::size_t k = std::size_t(family_index) + 3;
    return k < m_glyphs.size() ? m_glyphs[k] : QPixmap();
}

void GenrePanel::RefreshGenreMarks() {
    const auto& types = m_view.store.types;
    std::size_t k = 3;
    for (std::size_t row = 0; row < types.size(); ++row) {
        const type_serv_list& t = *types[row];
        if (t.sub == -1) {
            const int overlay = family_overlay_icon(m_view.store, t.family);
            if (k < m_buttons.size()) {
                m_glyphs[k] = glyph(int(k) + 1, overlay, m_size);
                m_buttons[k]->setIcon(QIcon(m_glyphs[k]));
                m_family_menus[k - 3]->setIcon(QIcon(glyph(int(k) + 1, overlay, 16)));
            }
            ++k;
            continue;
        }
        const bool on = t.filter_on == 1;
        if (row < m_type_items.size() && m_type_items[row]) m_type_items[row]->setChecked(on);
    }
}

// --- mode, size and layout

void GenrePanel::SetGenrePanelMode(bool detailed) {
    take_mode(detailed);
    for (std::size_t j = 0; j < m_buttons.size(); ++j) {
        QToolButton* b = m_buttons[j];
        if (detailed) {
            // The hint becomes the caption again.
            b->setText(m_captions[j]);
            b->setToolTip(QString());
            b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        } else {
            // Icons only; the caption is shown as the hint.
            b->setToolTip(
                QString(m_captions[j]).replace(QStringLiteral("&&"), QStringLiteral("&")));
            b->setText(QString());
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }
    layout_buttons(true);
    if (m_scroll && m_scroll->isVisible() && window()->isVisible()) m_scroll->setFocus();
}

void GenrePanel::SetGenrePanelSize(int size) {
    take_size(size);
    apply_view_settings();
    for (std::size_t j = 0; j < m_buttons.size(); ++j) {
        QToolButton* b = m_buttons[j];
        b->setFixedSize(genre_button_width(true, m_size), genre_button_height(m_size));
        b->setIconSize(QSize(m_size, m_size));
        m_glyphs[j] = glyph(int(j) + 1, -1, m_size);
        b->setIcon(QIcon(m_glyphs[j]));
    }
    RefreshGenreMarks();
    SetGenrePanelMode(m_detailed);
}

void GenrePanel::apply_view_settings() {
    const ViewSettings& v = m_settings.view;
    QFont f = font();
    if (!v.font_name.empty()) f.setFamily(from_cp(v.font_name));
    f.setPointSize(std::max(panel_font_size(v.font_size, m_size), 1));
    for (QToolButton* b : m_buttons) b->setFont(f);
    QPalette back = palette();
    back.setColor(QPalette::Window, settings_colour(v.back, Qt::white));
    setPalette(back);
    setAutoFillBackground(true);
}

void GenrePanel::layout_buttons(bool refresh_scroll) {
    const int count = int(m_buttons.size());
    const int w = width();
    const int pitch = genre_column_pitch(m_detailed, m_size);
    const int button_w = genre_button_width(m_detailed, m_size);
    const auto points = grid_positions(count, w, pitch, genre_row_pitch(m_size));
    for (int k = 0; k < count; ++k) {
        QToolButton* b = m_buttons[std::size_t(k)];
        b->setFixedSize(button_w, genre_button_height(m_size));
        b->move(points[std::size_t(k)].left, points[std::size_t(k)].top);
    }
    setMinimumHeight(
        grid_height(count, w, pitch, genre_row_pitch(m_size), genre_button_height(m_size)));
    if (m_scroll) {
        QScrollBar* bar = m_scroll->verticalScrollBar();
        bar->setValue(0);
        if (refresh_scroll && m_scroll->isVisible()) {
            bar->setValue(10);
            bar->setValue(0);
        }
    }
}

void GenrePanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout_buttons(false);
}

bool GenrePanel::eventFilter(QObject* watched, QEvent* event) {
    if (m_scroll && watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        QScrollBar* bar = m_scroll->verticalScrollBar();
        bar->setValue(bar->value() +
                      wheel_scroll_delta(wheel->angleDelta().y(),
                                         wheel_step(m_settings.general.mouse_speed)));
        return true;
    }
    if (m_scroll && watched == m_scroll && event->type() == QEvent::Enter &&
        m_settings.general.mouse_focus)
        m_scroll->setFocus();
    return QWidget::eventFilter(watched, event);
}

// --- settings

void GenrePanel::apply_settings() {
    m_detailed = m_settings.genre_panel.detailed;
    SetGenrePanelSize(m_settings.genre_panel.icon_size);
}

}  // namespace zt
