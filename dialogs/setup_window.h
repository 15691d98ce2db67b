#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zt {

class UserInterface;

// The installation window: shown instead of the main window when the program folder has no
// settings.ini. Proposes a folder, copies the running executable there with an empty settings
// file and makes the shortcuts. Closing it in any way, or a finished installation, emits
// `finished_setup`, after which the application ends.
class TFSetup final : public QDialog {
    Q_OBJECT
public:
    // `executable` is the running program; messages go through `ui` (centred on the screen).
    TFSetup(QString executable, UserInterface& ui, QWidget* parent = nullptr);

    void ButtonPathChangeClick();
    void BitBtnSetupClick();
    void set_path(const QString& folder);

signals:
    void finished_setup();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QLabel* ImageLogo = nullptr;
    QLabel* LabelProg = nullptr;
    QLabel* LabelVers = nullptr;
    QLineEdit* EditPath = nullptr;
    QPushButton* ButtonPathChange = nullptr;
    QCheckBox* CheckBoxStart = nullptr;
    QCheckBox* CheckBoxDesktop = nullptr;
    QPushButton* BitBtnSetup = nullptr;

    QString m_executable;
    UserInterface& m_ui;
    bool m_done = false;
};

}  // namespace zt
