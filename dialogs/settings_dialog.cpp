#include "dialogs/settings_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/progress.h"
#include "dialogs/logic/autostart_entry.h"
#include "dialogs/settings_pages.h"
#include "storage/ini_file.h"

namespace zt {
namespace {

// Page tabs 100 pixels wide, or as wide as a caption with its picture needs.
class SettingsTabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        const QSize hint = QTabBar::tabSizeHint(index);
        return {std::max(100, hint.width()), hint.height()};
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

class SettingsTabs final : public QTabWidget {
public:
    explicit SettingsTabs(QWidget* parent) : QTabWidget(parent) {
        setTabBar(new SettingsTabBar(this));
    }
};

}  // namespace

TFSettings::TFSettings(SettingsStore& store, IniFile& ini, UserInterface& ui,
                       ServerTestFn server_test, QWidget* parent)
    : QDialog(parent),
      m_store(store),
      m_ini(ini),
      m_ui(ui),
      m_server_test(std::move(server_test)),
      m_general(store, [](Settings& s) -> GeneralSettings& { return s.general; }),
      m_proxy(store, [](Settings& s) -> ProxySettings& { return s.proxy; }),
      m_personal(store, [](Settings& s) -> PersonalSettings& { return s.personal; }),
      m_view(store, [](Settings& s) -> ViewSettings& { return s.view; }),
      m_service(store, [](Settings& s) -> ServiceSettings& { return s.service; }) {
    setObjectName(QStringLiteral("TFSettings"));
    setWindowTitle(QStringLiteral("Настройка программы"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setModal(true);

    PageControl = new SettingsTabs(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    general = new SettingsGeneralPage(PageControl);
    proxy = new SettingsProxyPage(PageControl);
    personal = new SettingsPersonalPage(PageControl);
    view = new SettingsViewPage(PageControl);
    QStyle* st = style();
    PageControl->addTab(general, st->standardIcon(QStyle::SP_ComputerIcon),
                        QStringLiteral("Основное"));
    PageControl->addTab(proxy, st->standardIcon(QStyle::SP_DriveNetIcon), QStringLiteral("Прокси"));
    PageControl->addTab(personal, st->standardIcon(QStyle::SP_DirHomeIcon),
                        QStringLiteral("Личное"));
    PageControl->addTab(view, st->standardIcon(QStyle::SP_DesktopIcon), QStringLiteral("Вид"));

    ButtonOk = new QPushButton(QStringLiteral("OK"), this);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("Отмена"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 6);
    layout->addWidget(PageControl, 1);
    layout->addLayout(buttons);

    connect(ButtonOk, &QPushButton::clicked, this, [this] { finish(true); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { finish(false); });
    connect(proxy, &SettingsProxyPage::verify_requested, this, &TFSettings::verify);
    resize(620, 330);
}

TFSettings::~TFSettings() = default;

bool TFSettings::ShowModal() {
    m_general.open();
    m_proxy.open();
    m_personal.open();
    m_view.open();
    m_service.open();
    general->load(m_general.value);
    proxy->load(m_proxy.value, m_service.value);
    personal->load(m_personal.value);
    view->load(m_view.value);
    PageControl->setCurrentIndex(0);
    m_saved = false;
    if (QWidget* anchor = parentWidget(); anchor && anchor->isVisible())
        move(anchor->geometry().center() - rect().center());
    exec();
    return m_saved;
}

void TFSettings::close_asking() {
    finish(m_ui.show_msg(MsgKind::Question, "Сохранить настройки?"));
}

void TFSettings::reject() {
    finish(false);
}

void TFSettings::closeEvent(QCloseEvent* event) {
    if (!event->spontaneous()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    close_asking();
}

void TFSettings::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close_asking();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFSettings::take_controls() {
    const auto host = service_host_field(proxy->service_text());
    if (!host) {
        PageControl->setCurrentWidget(proxy);
        m_ui.show_msg(MsgKind::Error,
                      "Адрес сервера телепрограммы указывается как имя или IP-адрес и, через "
                      "двоеточие, номер порта (например, tv.example.org:8080).");
        return false;
    }
    m_service.value.host = *host;
    general->store(m_general.value);
    proxy->store(m_proxy.value);
    personal->store(m_personal.value);
    view->store(m_view.value);
    return true;
}

void TFSettings::finish(bool save) {
    if (save) {
        if (!take_controls()) return;
        m_general.commit();
        m_proxy.commit();
        m_personal.commit();
        m_view.commit();
        m_service.commit();
        if (!general->apply_autostart(QCoreApplication::applicationFilePath()))
            m_ui.show_msg(MsgKind::Error, "Не удалось изменить автозапуск программы: " +
                                              autostart_entry_path().toStdString());
        if (!m_ini.refused()) {
            try {
                m_store.get().save_group(m_ini, SettingsGroup::general);
                m_saved = true;
            } catch (const SettingsWriteError& e) {
                // The choices stay in use for this run; the file keeps what it had.
                m_ui.show_msg(MsgKind::Error, e.what());
            }
        }
    }
    // What the program uses is what the file holds: unsaved changes are undone. A file that
    // could not be read or written is not read back over the choices in use.
    if (m_saved || (!save && !m_ini.refused())) reload_group();
    done(m_saved ? QDialog::Accepted : QDialog::Rejected);
}

void TFSettings::reload_group() {
    m_ini.load();
    m_store.model().load_group(m_ini, SettingsGroup::general);
    m_store.reloaded();
}

void TFSettings::verify() {
    ProxySettings edited;
    proxy->store(edited);
    const auto host = service_host_field(proxy->service_text());
    if (!host) {
        m_ui.show_msg(MsgKind::Error, "Адрес сервера телепрограммы указан неверно.");
        return;
    }
    std::vector<std::string> lines;
    ServerTestResult result = ServerTestResult::exchange_failed;
    proxy->set_verify_enabled(false);
    if (m_server_test) result = m_server_test(edited, *host, lines);
    proxy->set_verify_enabled(true);
    proxy->show_answer(lines);
    if (result == ServerTestResult::ok)
        m_ui.show_msg(MsgKind::Info, "Проверка прошла успешно.");
    else if (result == ServerTestResult::wrong_answer)
        m_ui.show_msg(MsgKind::Error, "Сервер вернул не верные проверочные данные.");
}

}  // namespace zt
