#pragma once

#include <QWidget>
#include <array>

#include "storage/settings_general.h"

class QCheckBox;
class QComboBox;
class QFontDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zt {

class ColourBox;

// The four pages of the settings dialog. Each shows one part of the settings being edited
// (load) and writes its controls back (store); controls carry the names other code and the
// tests find them by.

// "Основное".
class SettingsGeneralPage final : public QWidget {
    Q_OBJECT
public:
    explicit SettingsGeneralPage(QWidget* parent = nullptr);
    // The monitor list ("Основном мониторе", "2 мониторе", ...) is built from the screens now.
    void load(const GeneralSettings& general);
    void store(GeneralSettings& general) const;
    // "Запускать при входе в систему": the autostart entry is made or removed when the box was
    // changed since load. Returns false (the entry unchanged) where it could not be written.
    bool apply_autostart(const QString& executable) const;

private:
    QComboBox* ComboBoxGenMonitor = nullptr;
    QComboBox* ComboBoxGenMouseSpeed = nullptr;
    QCheckBox* CheckBoxGenStartSys = nullptr;  // the autostart entry, not a setting of the file
    QCheckBox* CheckBoxGenStartProgress = nullptr;
    QCheckBox* CheckBoxGenTrayStart = nullptr;
    QCheckBox* CheckBoxGenTrayIcon = nullptr;
    QCheckBox* CheckBoxGenTrayMin = nullptr;
    QCheckBox* CheckBoxGenLoveAlarm = nullptr;
    QCheckBox* CheckBoxGenTblGrid = nullptr;
    QCheckBox* CheckBoxGenMouseFocus = nullptr;
    QCheckBox* CheckBoxGenLogoChl = nullptr;
    QCheckBox* CheckBoxGenImgType = nullptr;
    QCheckBox* CheckBoxGenVerifyTime = nullptr;
    QCheckBox* CheckBoxGenViewData = nullptr;

    bool m_autostart_loaded = false;
};

// "Прокси": the proxy, the connection test and the service's host.
class SettingsProxyPage final : public QWidget {
    Q_OBJECT
public:
    explicit SettingsProxyPage(QWidget* parent = nullptr);
    void load(const ProxySettings& proxy, const ServiceSettings& service);
    void store(ProxySettings& proxy) const;
    // The service host field as typed (UTF-8).
    std::string service_text() const;
    // "Ответ сервера:" shows these lines (CP1251).
    void show_answer(const std::vector<std::string>& lines);
    // "Проверить" is disabled while a test runs.
    void set_verify_enabled(bool enabled);

signals:
    // "Проверить".
    void verify_requested();

private:
    QCheckBox* CheckBoxIE = nullptr;
    QCheckBox* CheckBoxProxy = nullptr;
    QLineEdit* EditServer = nullptr;
    QLineEdit* EditPort = nullptr;
    QLineEdit* EditUser = nullptr;
    QLineEdit* EditPwd = nullptr;
    QPushButton* BitBtnVerify = nullptr;
    QPlainTextEdit* MemoProxy = nullptr;
    QLineEdit* EditServiceHost = nullptr;  // "Сервер телепрограммы:", host[:port]

    void enable_controls();
    void from_browser_clicked(bool on);
};

// "Личное".
class SettingsPersonalPage final : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPersonalPage(QWidget* parent = nullptr);
    void load(const PersonalSettings& personal);
    void store(PersonalSettings& personal) const;

private:
    QComboBox* ComboBoxUserDescr = nullptr;
    QLineEdit* EditUserDescr1 = nullptr;
    QLineEdit* EditUserDescr2 = nullptr;
    QComboBox* ComboBoxUserLove = nullptr;
    QCheckBox* CheckBoxUserRating = nullptr;
    QLineEdit* MaskEditUserRating = nullptr;
    QComboBox* ComboBoxUserStartDay = nullptr;
    QCheckBox* CheckBoxUserAutoStartProgress = nullptr;
    QCheckBox* CheckBoxUserAutoStartProg = nullptr;
    QCheckBox* CheckBoxUserAutoDay = nullptr;
    QLineEdit* MaskEditUserAutoTime = nullptr;
    QLineEdit* MaskEditUserAutoStopTime = nullptr;
    QCheckBox* CheckBoxUserAutoMsg = nullptr;
    QLineEdit* MaskEditUserBreak = nullptr;

    void template_chosen(int item);
};

// "Вид": colours and font of the programme tables.
class SettingsViewPage final : public QWidget {
    Q_OBJECT
public:
    explicit SettingsViewPage(QWidget* parent = nullptr);
    void load(const ViewSettings& view);
    void store(ViewSettings& view) const;

    // The font panel's font as the settings keep it.
    void set_font(const ViewSettings& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* PanelViewTblFontName = nullptr;
    QPushButton* BitBtnViewTblFontName = nullptr;
    // "Текст:", "Фон:", "Фокус:", "Фон выделения 1:", "Фон выделения 2:", "Осталось до конца:",
    // "Прошедшие передачи:", "Текущая передача:", "Не любимые:", "Маркер:", "Любимые:",
    // "Оповещение:".
    std::array<ColourBox*, 12> colours{};
    QPushButton* BitBtnViewDefault = nullptr;  // "По умолчанию"
    QFontDialog* FontDialogViewTbl = nullptr;

    void choose_font();
    void show_preview();

    ViewSettings m_font;  // the font members only
};

}  // namespace zt
