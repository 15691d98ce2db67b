#include "dialogs/update_select_dialog.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/cp1251.h"
#include "core/progress.h"
#include "dialogs/logic/paket_channel_model.h"
#include "dialogs/logic/update_rules.h"
#include "net/paket_tree_model.h"
#include "ui/row_table_view.h"

namespace zt {
namespace {

QString utf(const std::string& cp) {
    return QString::fromStdString(to_utf8(cp));
}

// The package tree with the packages' 16-pixel pictures (index 0: the default picture).
class PaketIcons final : public QIdentityProxyModel {
public:
    PaketIcons(const net::SelectionLists& lists, QObject* parent)
        : QIdentityProxyModel(parent), m_lists(lists) {
        m_default = QApplication::style()->standardIcon(QStyle::SP_DirIcon).pixmap(16, 16);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DecorationRole) return QIdentityProxyModel::data(index, role);
        const int image = QIdentityProxyModel::data(index, Qt::UserRole + 1).toInt();
        if (image > 0 && std::size_t(image) < m_lists.pakets16.size()) {
            const QPixmap p = selection_picture(m_lists.pakets16[std::size_t(image)]);
            if (!p.isNull()) return p;
        }
        return m_default;
    }

private:
    const net::SelectionLists& m_lists;
    QPixmap m_default;
};

QToolButton* glyph_button(QWidget* parent, const char* name, const QString& hint,
                          QStyle::StandardPixmap glyph) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAccessibleName(hint);  // a picture alone says nothing to a screen reader
    b->setIcon(parent->style()->standardIcon(glyph));
    b->setIconSize(QSize(16, 16));
    b->setFixedSize(26, 26);
    return b;
}

}  // namespace

TFUpdateSelect::TFUpdateSelect(SelectDialogParts parts, UserInterface& ui,
                               std::function<bool()> paid, std::function<bool(std::int32_t)> held,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint),
      m_parts(std::move(parts)),
      m_ui(ui),
      m_paid(std::move(paid)),
      m_held(std::move(held)) {
    setObjectName(QStringLiteral("TFUpdateSelect"));
    setModal(true);
    setSizeGripEnabled(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    SplitterV = new QSplitter(Qt::Horizontal, this);
    SplitterV->setObjectName(QStringLiteral("SplitterV"));
    SplitterV->setChildrenCollapsible(false);
    outer->addWidget(SplitterV, 1);
    build_left();
    build_right();
    SplitterV->setSizes({250, 368});

    StatusBar = new QWidget(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    auto* status = new QHBoxLayout(StatusBar);
    status->setContentsMargins(2, 2, 2, 2);
    status->setSpacing(2);
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* l = new QLabel(StatusBar);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        status->addWidget(l);
        StatusPanels[i] = l;
    }
    status->addStretch(1);
    outer->addWidget(StatusBar);

    setMinimumSize(626, 434);
    resize(626, 434);
    show_lists(m_empty, {});
}

TFUpdateSelect::~TFUpdateSelect() = default;

void TFUpdateSelect::build_left() {
    PanelL = new QWidget(SplitterV);
    PanelL->setObjectName(QStringLiteral("PanelL"));
    PanelL->setMinimumWidth(210);
    auto* v = new QVBoxLayout(PanelL);
    v->setContentsMargins(6, 6, 3, 6);
    LabelPaket = new QLabel(QStringLiteral("Пакеты каналов:"), PanelL);
    LabelPaket->setObjectName(QStringLiteral("LabelPaket"));
    v->addWidget(LabelPaket);
    TreeViewPacket = new QTreeView(PanelL);
    TreeViewPacket->setObjectName(QStringLiteral("TreeViewPacket"));
    TreeViewPacket->setHeaderHidden(true);
    TreeViewPacket->setAccessibleName(QStringLiteral("Пакеты"));
    TreeViewPacket->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeViewPacket->setIconSize(QSize(16, 16));
    v->addWidget(TreeViewPacket, 1);

    PanelCard = new QWidget(PanelL);
    PanelCard->setObjectName(QStringLiteral("PanelCard"));
    auto* card = new QVBoxLayout(PanelCard);
    card->setContentsMargins(0, 0, 0, 0);
    auto* head = new QHBoxLayout;
    auto* shape = new QFrame(PanelCard);
    shape->setObjectName(QStringLiteral("ShapeLogo"));
    shape->setFrameShape(QFrame::Box);
    shape->setFixedSize(34, 34);
    ImageLogo = new QLabel(shape);
    ImageLogo->setObjectName(QStringLiteral("ImageLogo"));
    ImageLogo->setGeometry(1, 1, 32, 32);
    ImageLogo->setAlignment(Qt::AlignCenter);
    LabelName = new QLabel(PanelCard);
    LabelName->setObjectName(QStringLiteral("LabelName"));
    QFont bold = LabelName->font();
    bold.setBold(true);
    LabelName->setFont(bold);
    LabelName->setWordWrap(true);
    head->addWidget(shape);
    head->addWidget(LabelName, 1);
    card->addLayout(head);
    ScrollBoxDescr =
        m_parts.make_descr_area ? m_parts.make_descr_area(PanelCard) : new QScrollArea(PanelCard);
    ScrollBoxDescr->setObjectName(QStringLiteral("ScrollBoxDescr"));
    ScrollBoxDescr->setAccessibleName(QStringLiteral("Описание пакета"));
    QPalette white = ScrollBoxDescr->palette();
    white.setColor(QPalette::Window, Qt::white);
    ScrollBoxDescr->setPalette(white);
    ScrollBoxDescr->setAutoFillBackground(true);
    ScrollBoxDescr->setFixedHeight(110);
    card->addWidget(ScrollBoxDescr);
    v->addWidget(PanelCard);
    PanelCard->hide();

    const auto pick = [this](const QModelIndex& i) {
        select_paket(m_tree->paket_at(m_tree_icons->mapToSource(i)));
    };
    connect(TreeViewPacket, &QTreeView::clicked, this, pick);
    connect(TreeViewPacket, &QTreeView::doubleClicked, this, pick);
}

void TFUpdateSelect::build_right() {
    PanelR = new QWidget(SplitterV);
    PanelR->setObjectName(QStringLiteral("PanelR"));
    PanelR->setMinimumWidth(310);
    auto* v = new QVBoxLayout(PanelR);
    v->setContentsMargins(3, 6, 6, 6);
    auto* checks = new QHBoxLayout;
    CheckBoxCreateGroup = new QCheckBox(QStringLiteral("Создавать группы"), PanelR);
    CheckBoxCreateGroup->setObjectName(QStringLiteral("CheckBoxCreateGroup"));
    CheckBoxCreateGroup->setChecked(true);
    CheckBoxAnons = new QCheckBox(QStringLiteral("С анонсами"), PanelR);
    CheckBoxAnons->setObjectName(QStringLiteral("CheckBoxAnons"));
    CheckBoxAnons->installEventFilter(this);
    checks->addWidget(CheckBoxCreateGroup);
    checks->addWidget(CheckBoxAnons);
    checks->addStretch(1);
    v->addLayout(checks);

    ListViewPacketChannel = new RowTableView(PanelR);
    ListViewPacketChannel->setObjectName(QStringLiteral("ListViewPacketChannel"));
    ListViewPacketChannel->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewPacketChannel->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewPacketChannel->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewPacketChannel->setShowGrid(true);
    ListViewPacketChannel->verticalHeader()->hide();
    ListViewPacketChannel->setContextMenuPolicy(Qt::CustomContextMenu);
    ListViewPacketChannel->viewport()->installEventFilter(this);
    ListViewPacketChannel->installEventFilter(this);
    ListViewPacketChannel->setTabKeyNavigation(false);
    ListViewPacketChannel->setAccessibleName(QStringLiteral("Каналы в пакете"));
    if (m_parts.row_painter) {
        m_parts.row_painter->setParent(ListViewPacketChannel);
        ListViewPacketChannel->setItemDelegate(m_parts.row_painter);
    }
    v->addWidget(ListViewPacketChannel, 1);

    PopupMenuPaketChannel = new QMenu(this);
    PopupMenuPaketChannel->setObjectName(QStringLiteral("PopupMenuPaketChannel"));
    PopupMenuPaketChannel->addAction(QStringLiteral("Пометить все"), this,
                                     &TFUpdateSelect::mark_all);
    PopupMenuPaketChannel->addAction(QStringLiteral("Инверсия"), this,
                                     &TFUpdateSelect::mark_invert);
    PopupMenuPaketChannel->addAction(QStringLiteral("Снять со всех"), this,
                                     &TFUpdateSelect::mark_none);
    connect(ListViewPacketChannel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) {
                PopupMenuPaketChannel->popup(ListViewPacketChannel->viewport()->mapToGlobal(pos));
            });

    auto* buttons = new QHBoxLayout;
    BitBtnInfoChannel = glyph_button(PanelR, "BitBtnInfoChannel", QStringLiteral("Описание канала"),
                                     QStyle::SP_MessageBoxInformation);
    BitBtnNew = glyph_button(PanelR, "BitBtnNew", QStringLiteral("Новый пакет или канал"),
                             QStyle::SP_FileDialogNewFolder);
    BitBtnMainChannel =
        glyph_button(PanelR, "BitBtnMainChannel", QStringLiteral("Пометить мои каналы"),
                     QStyle::SP_DialogApplyButton);
    BitBtnUpdate = new QPushButton(QStringLiteral("Получить"), PanelR);
    BitBtnUpdate->setObjectName(QStringLiteral("BitBtnUpdate"));
    BitBtnUpdate->setDefault(true);
    buttons->addWidget(BitBtnInfoChannel);
    buttons->addWidget(BitBtnNew);
    buttons->addWidget(BitBtnMainChannel);
    buttons->addStretch(1);
    buttons->addWidget(BitBtnUpdate);
    v->addLayout(buttons);

    connect(BitBtnInfoChannel, &QToolButton::clicked, this,
            &TFUpdateSelect::BitBtnInfoChannelClick);
    connect(BitBtnNew, &QToolButton::clicked, this, &TFUpdateSelect::BitBtnNewClick);
    connect(BitBtnMainChannel, &QToolButton::clicked, this,
            &TFUpdateSelect::BitBtnMainChannelClick);
    connect(BitBtnUpdate, &QPushButton::clicked, this, &TFUpdateSelect::BitBtnUpdateClick);
}

void TFUpdateSelect::show_lists(net::SelectionLists& lists, const net::DownloadControls& c) {
    m_lists = &lists;
    m_sel_paket = -1;
    auto tree = std::make_unique<net::PaketTreeModel>(lists);
    auto icons = std::make_unique<PaketIcons>(lists, nullptr);
    icons->setSourceModel(tree.get());
    TreeViewPacket->setModel(icons.get());
    m_tree_icons = std::move(icons);
    m_tree = std::move(tree);
    TreeViewPacket->expandAll();
    auto channels = std::make_unique<PaketChannelModel>(lists);
    ListViewPacketChannel->setModel(channels.get());
    m_channels = std::move(channels);
    QHeaderView* h = ListViewPacketChannel->horizontalHeader();
    h->resizeSection(0, 240);
    h->resizeSection(1, 60);
    h->resizeSection(2, 60);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    show_card(nullptr);
    // The arrow keys in the tree choose a package as a click does.
    connect(TreeViewPacket->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& i) {
                if (i.isValid()) select_paket(m_tree->paket_at(m_tree_icons->mapToSource(i)));
            });
    // The first package (the tree's root) is chosen at once, so the list shows its channels
    // and their count instead of an empty list headed "(0)".
    if (const QModelIndex first = TreeViewPacket->model()->index(0, 0); first.isValid())
        TreeViewPacket->setCurrentIndex(first);

    setWindowTitle(utf(c.caption));
    CheckBoxAnons->setVisible(c.anons_visible);
    CheckBoxAnons->setChecked(c.anons);
    CheckBoxCreateGroup->setChecked(c.create_group);
    for (std::size_t i = 0; i < StatusPanels.size(); ++i)
        StatusPanels[i]->setText(utf(c.status[i]));
    layout_status();
}

void TFUpdateSelect::clear() {
    show_lists(m_empty, {});
}

bool TFUpdateSelect::run(QWidget* anchor, net::DownloadControls& controls) {
    if (anchor && anchor->isVisible())
        move(anchor->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    if (exec() != QDialog::Accepted) return false;
    controls.anons = CheckBoxAnons->isChecked();
    controls.create_group = CheckBoxCreateGroup->isChecked();
    return true;
}

void TFUpdateSelect::select_paket(int list_position) {
    m_sel_paket = m_lists ? paket_at_tree_pos(*m_lists, list_position) : -1;
    m_channels->set_paket(m_sel_paket);
    show_card(m_channels->current());
}

void TFUpdateSelect::show_card(const net::update_paket_list* paket) {
    if (!paket || paket->descr.empty()) {
        PanelCard->hide();
        return;
    }
    LabelName->setText(utf(paket->name));
    if (m_parts.render_descr) m_parts.render_descr(this, ScrollBoxDescr, utf(paket->descr));
    QPixmap picture;
    if (paket->image > 0 && std::size_t(paket->image) < m_lists->pakets32.size())
        picture = selection_picture(m_lists->pakets32[std::size_t(paket->image)]);
    if (picture.isNull()) picture = style()->standardIcon(QStyle::SP_DirIcon).pixmap(32, 32);
    ImageLogo->setPixmap(picture);
    PanelCard->show();
}

void TFUpdateSelect::mark_all() {
    if (auto* p = m_channels->current()) apply_ticks(*p, TickAction::all);
    m_channels->refresh();
}

void TFUpdateSelect::mark_none() {
    if (auto* p = m_channels->current()) apply_ticks(*p, TickAction::none);
    m_channels->refresh();
}

void TFUpdateSelect::mark_invert() {
    if (auto* p = m_channels->current()) apply_ticks(*p, TickAction::invert);
    m_channels->refresh();
}

void TFUpdateSelect::BitBtnMainChannelClick() {
    auto* p = m_channels->current();
    if (!p || p->channels.empty() || !m_held) return;
    tick_held_channels(*p, m_held);
    m_channels->refresh();
}

void TFUpdateSelect::BitBtnInfoChannelClick() {
    const auto* p = m_channels->current();
    const QModelIndex row = ListViewPacketChannel->currentIndex();
    if (!p || !row.isValid() || std::size_t(row.row()) >= p->channels.size()) return;
    const auto& e = p->channels[std::size_t(row.row())];
    if (!m_parts.show_channel) return;
    const QString name = e.channel ? utf(e.channel->name) : QString();
    const QString descr = e.channel ? utf(e.channel->descr) : QString();
    const QPixmap logo = e.channel ? m_channels->logo(e.channel->logo, 32) : QPixmap();
    m_parts.show_channel(name, descr, utf(e.shift_text), logo);
}

void TFUpdateSelect::BitBtnNewClick() {
    m_ui.show_msg(MsgKind::Info,
                  "О добавлении или изменении пакетов и каналов пишите на e-mail службы "
                  "поддержки.");
}

void TFUpdateSelect::BitBtnUpdateClick() {
    if (!m_lists || !any_ticked(*m_lists)) {
        if (!m_ui.show_msg(MsgKind::Question,
                           "Не выбраны каналы для получения телепрограммы. Продолжить?"))
            return;
    }
    accept();
}

bool TFUpdateSelect::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        // Space does by keyboard what a click does: the same paid-only check on "С анонсами",
        // and the current channel of the list ticked or unticked.
        if (watched == CheckBoxAnons && !(m_paid && m_paid()) && !CheckBoxAnons->isChecked()) {
            m_ui.show_msg(MsgKind::Error,
                          "Получение анонсов доступно только для платных пользователей.");
            return true;
        }
        if (watched == ListViewPacketChannel) {
            const QModelIndex i = ListViewPacketChannel->currentIndex();
            if (i.isValid()) m_channels->toggle(i.row());
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == CheckBoxAnons && !(m_paid && m_paid())) {
            // Announcements are for paid users only.
            CheckBoxAnons->setChecked(false);
            m_ui.show_msg(MsgKind::Error,
                          "Получение анонсов доступно только для платных пользователей.");
            return true;
        }
        if (watched == ListViewPacketChannel->viewport() && mouse->button() == Qt::LeftButton) {
            const QModelIndex i = ListViewPacketChannel->indexAt(mouse->position().toPoint());
            if (i.isValid()) m_channels->toggle(i.row());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFUpdateSelect::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layout_status();
}

void TFUpdateSelect::layout_status() {
    // The bar's margins and the gaps between the panels.
    const int chrome = 4 + 2 * int(StatusPanels.size() - 1);
    std::array<int, 4> needed{};
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        const QLabel* l = StatusPanels[i];
        needed[i] = l->fontMetrics().horizontalAdvance(l->text()) + 2 * l->frameWidth() + 8;
    }
    const auto widths = status_panel_widths(StatusBar->width(), needed, chrome);
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        StatusPanels[i]->setFixedWidth(widths[i]);
        // A text that still does not fit can be read whole in the hint.
        StatusPanels[i]->setToolTip(widths[i] < needed[i] ? StatusPanels[i]->text() : QString());
    }
}

}  // namespace zt
