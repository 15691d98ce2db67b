#include "managers/manager_window.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include "managers/channel_groups_tab.h"
#include "managers/favourites_tab.h"
#include "managers/genre_groups_tab.h"

namespace zt {

namespace {

QToolButton* undo_button(QWidget* parent, QAction* action, const char* name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

}  // namespace

TFMgr::TFMgr(all_list& store, SettingsStore& settings, const LogoImages& logos, UserInterface& ui,
             QWidget* parent)
    : QDialog(parent), m_undo(std::make_unique<QUndoStack>()) {
    setObjectName(QStringLiteral("TFMgr"));
    setWindowTitle(QStringLiteral("Менеджер"));
    setModal(true);
    m_ctx = std::make_unique<ManagerContext>(
        ManagerContext{store, settings, *m_undo, logos, ui, nullptr});

    auto* layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 100px; }"));
    m_channels = new ChannelGroupsTab(*m_ctx, PageControl);
    m_genres = new GenreGroupsTab(*m_ctx, PageControl);
    m_favourites = new FavouritesTab(*m_ctx, PageControl);
    PageControl->addTab(m_channels, QStringLiteral("Каналы"));
    PageControl->addTab(m_genres, QStringLiteral("Типы"));
    PageControl->addTab(m_favourites, QStringLiteral("Передачи"));
    layout->addWidget(PageControl, 1);

    ActionUndo = m_undo->createUndoAction(this, QStringLiteral("Отменить"));
    ActionUndo->setObjectName(QStringLiteral("ActionUndo"));
    ActionUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ActionRedo = m_undo->createRedoAction(this, QStringLiteral("Повторить"));
    ActionRedo->setObjectName(QStringLiteral("ActionRedo"));
    ActionRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    for (QAction* a : {ActionUndo, ActionRedo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    // "Отменить: изменение группы" rather than the stack's own "Отменить изменение группы"
    // (the command texts are nouns); these connections come after the stack's, so they win.
    const auto caption = [](QAction* action, const QString& verb, const QString& text) {
        action->setText(text.isEmpty() ? verb : verb + QStringLiteral(": ") + text);
    };
    connect(
        m_undo.get(), &QUndoStack::undoTextChanged, ActionUndo,
        [caption, a = ActionUndo](const QString& t) { caption(a, QStringLiteral("Отменить"), t); });
    connect(m_undo.get(), &QUndoStack::redoTextChanged, ActionRedo,
            [caption, a = ActionRedo](const QString& t) {
                caption(a, QStringLiteral("Повторить"), t);
            });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(undo_button(this, ActionUndo, "BitBtnUndo"));
    bottom->addWidget(undo_button(this, ActionRedo, "BitBtnRedo"));
    bottom->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("BitBtnClose"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    resize(820, 600);
}

TFMgr::~TFMgr() = default;

void TFMgr::set_show_channel_info(std::function<void(const std::shared_ptr<chl_serv_list>&,
                                                     const std::shared_ptr<chl_local_list>&)>
                                      show) {
    m_ctx->show_channel_info = std::move(show);
}

void TFMgr::run(Tab tab) {
    m_undo->clear();
    m_channels->prepare();
    m_genres->prepare();
    m_favourites->prepare();
    PageControl->setCurrentIndex(int(tab));
    QTimer::singleShot(0, this, &TFMgr::opened);
    exec();
    m_channels->finish();
    m_genres->finish();
    m_favourites->finish();
    m_undo->clear();
}

}  // namespace zt
