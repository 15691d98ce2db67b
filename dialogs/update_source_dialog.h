#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QPushButton;

namespace zt {

class UserInterface;
struct DownloadDialogSettings;
struct user_account;

// The source dialog "Получить телепрограмму": where the schedule comes from (the server or an
// import file) and who the user is. It keeps its choices between uses; the settings part it
// shows is a copy the caller commits after "Далее" (the "Пользователь:" choice also after a
// cancel). The password field never keeps what was typed: on leaving it (and on closing) the
// text becomes the account's digest; entering it (by mouse, Tab or shortcut) empties it.
class TFUpdate final : public QDialog {
    Q_OBJECT
public:
    TFUpdate(user_account& account, UserInterface& ui, QWidget* parent = nullptr);

    // Fills the user controls from the settings copy and the account (login, digest).
    void load(const DownloadDialogSettings& settings);
    // Shows the dialog modally centred on `anchor`; true only when it closed with "Далее".
    // The login and "Сохранять пароль" go to the account then.
    bool run(QWidget* anchor);
    // The user controls as settings ("Пользователь:", "Сохранять пароль").
    void store(DownloadDialogSettings& settings) const;
    int source() const;     // 0 "Сервер", 1 "Файл"
    int user_type() const;  // "Пользователь:" 0 "Бесплатный", 1 "Платный"
    QString file() const;
    // Chooses the import file ("..."); tests replace the file dialog.
    std::function<QString()> choose_file;

    // The source rules: which controls are enabled, with their colours.
    void apply_rules();
    // "...": the chosen file goes into the file field when its name is accepted.
    void BitBtnDirClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    QComboBox* ComboBoxSelect = nullptr;
    QLineEdit* EditDir = nullptr;
    QToolButton* BitBtnDir = nullptr;
    QComboBox* ComboBoxUser = nullptr;
    QLineEdit* EditLogin = nullptr;
    QLineEdit* EditPwd = nullptr;
    QCheckBox* CheckBoxLoginSave = nullptr;
    QPushButton* BitBtnUpdate = nullptr;  // "Далее"
    QPushButton* BitBtnCancel = nullptr;  // "Отмена"
    QToolButton* BitBtnHelp = nullptr;

    void take_password();

    user_account& m_account;
    UserInterface& m_ui;
};

}  // namespace zt
