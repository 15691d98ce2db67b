#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/logic/settings_form.h"
#include "storage/settings_store.h"

class QPushButton;
class QTabWidget;

namespace zt {

class IniFile;
class SettingsGeneralPage;
class SettingsPersonalPage;
class SettingsProxyPage;
class SettingsViewPage;
class UserInterface;

// "Настройка программы": the general, proxy, personal and view settings. The pages edit a
// copy of their parts of the live settings; "OK" (or "Да" to "Сохранить настройки?" when the
// window is closed otherwise) commits the copy and writes the group to settings.ini;
// "Отмена" (or "Нет") drops it. Either way the group is then read back from the file, so what
// the program uses is what the file holds.
class TFSettings final : public QDialog {
    Q_OBJECT
public:
    // "Проверить": the connection test with the proxy and service being edited; the lines of
    // the answer go to `lines`.
    using ServerTestFn = std::function<ServerTestResult(
        const ProxySettings& proxy, const std::string& service, std::vector<std::string>& lines)>;

    TFSettings(SettingsStore& store, IniFile& ini, UserInterface& ui, ServerTestFn server_test,
               QWidget* parent = nullptr);
    ~TFSettings() override;

    // Takes a fresh copy of the settings, shows the dialog modally centred on its parent and
    // returns once it is closed: true when the settings were saved.
    bool ShowModal();

    // The close box and Escape: asks "Сохранить настройки?", then saves or drops.
    void close_asking();

public slots:
    // Closing from the program (an exit while the dialog is open): drops the changes without
    // a question.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SettingsGeneralPage* general = nullptr;
    SettingsProxyPage* proxy = nullptr;
    SettingsPersonalPage* personal = nullptr;
    SettingsViewPage* view = nullptr;
    QTabWidget* PageControl = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;

    void finish(bool save);
    // Puts the controls into the drafts; false (after a message) when the service host is not
    // usable.
    bool take_controls();
    void reload_group();
    void verify();

    SettingsStore& m_store;
    IniFile& m_ini;
    UserInterface& m_ui;
    ServerTestFn m_server_test;
    SettingsDraft<GeneralSettings> m_general;
    SettingsDraft<ProxySettings> m_proxy;
    SettingsDraft<PersonalSettings> m_personal;
    SettingsDraft<ViewSettings> m_view;
    SettingsDraft<ServiceSettings> m_service;
    bool m_saved = false;
};

}  // namespace zt
