#include "dialogs/update_source_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/cp1251.h"
#include "core/progress.h"
#include "dialogs/logic/update_rules.h"
#include "storage/data_files.h"
#include "storage/settings_layout.h"

namespace zt {
namespace {

// Disabled fields take the light 3-D face colour of the style, enabled ones the window colour.
void set_enabled(QWidget* w, bool on) {
    w->setEnabled(on);
}

}  // namespace

TFUpdate::TFUpdate(user_account& account, UserInterface& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_account(account),
      m_ui(ui) {
    setObjectName(QStringLiteral("TFUpdate"));
    setWindowTitle(QStringLiteral("Получить телепрограмму"));
    setModal(true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setVerticalSpacing(6);
    auto label = [&](const QString& text, int row) {
        auto* l = new QLabel(text, this);
        grid->addWidget(l, row, 0);
        return l;
    };
    QLabel* select = label(QStringLiteral("Источник:"), 0);
    select->setObjectName(QStringLiteral("LabelSelect"));
    ComboBoxSelect = new QComboBox(this);
    ComboBoxSelect->setObjectName(QStringLiteral("ComboBoxSelect"));
    ComboBoxSelect->addItems({QStringLiteral("Сервер"), QStringLiteral("Файл")});
    grid->addWidget(ComboBoxSelect, 0, 1);

    QLabel* dir = label(QStringLiteral("Файл:"), 1);
    dir->setObjectName(QStringLiteral("LabelDir"));
    auto* dir_row = new QHBoxLayout;
    EditDir = new QLineEdit(this);
    EditDir->setObjectName(QStringLiteral("EditDir"));
    EditDir->setReadOnly(true);
    BitBtnDir = new QToolButton(this);
    BitBtnDir->setObjectName(QStringLiteral("BitBtnDir"));
    BitBtnDir->setText(QStringLiteral("..."));
    BitBtnDir->setAccessibleName(QStringLiteral("Выбрать файл"));
    BitBtnDir->setToolTip(QStringLiteral("Выбрать файл"));
    dir_row->addWidget(EditDir, 1);
    dir_row->addWidget(BitBtnDir);
    grid->addLayout(dir_row, 1, 1);

    QLabel* user = label(QStringLiteral("Пользователь:"), 2);
    user->setObjectName(QStringLiteral("LabelUser"));
    ComboBoxUser = new QComboBox(this);
    ComboBoxUser->setObjectName(QStringLiteral("ComboBoxUser"));
    ComboBoxUser->addItems({QStringLiteral("Бесплатный"), QStringLiteral("Платный")});
    grid->addWidget(ComboBoxUser, 2, 1);

    QLabel* login = label(QStringLiteral("Логин:"), 3);
    login->setObjectName(QStringLiteral("LabelLogin"));
    EditLogin = new QLineEdit(this);
    EditLogin->setObjectName(QStringLiteral("EditLogin"));
    grid->addWidget(EditLogin, 3, 1);

    QLabel* password = label(QStringLiteral("Пароль:"), 4);
    password->setObjectName(QStringLiteral("LabelPwd"));
    EditPwd = new QLineEdit(this);
    EditPwd->setObjectName(QStringLiteral("EditPwd"));
    EditPwd->setEchoMode(QLineEdit::Password);
    EditPwd->installEventFilter(this);
    grid->addWidget(EditPwd, 4, 1);

    CheckBoxLoginSave = new QCheckBox(QStringLiteral("Сохранять пароль"), this);
    CheckBoxLoginSave->setObjectName(QStringLiteral("CheckBoxLoginSave"));
    grid->addWidget(CheckBoxLoginSave, 5, 1);
    // Each label names its field, which is what a screen reader says on it.
    select->setBuddy(ComboBoxSelect);
    dir->setBuddy(EditDir);
    user->setBuddy(ComboBoxUser);
    login->setBuddy(EditLogin);
    password->setBuddy(EditPwd);

    auto* buttons = new QHBoxLayout;
    BitBtnHelp = new QToolButton(this);
    BitBtnHelp->setObjectName(QStringLiteral("BitBtnHelp"));
    BitBtnHelp->setText(QStringLiteral("?"));
    BitBtnHelp->setAccessibleName(QStringLiteral("Подсказка"));
    BitBtnHelp->setToolTip(
        QStringLiteral("Для автоматического получения телепрограммы платным пользователям\n"
                       "нужно всегда указывать пароль и выбирать его сохранение."));
    BitBtnUpdate = new QPushButton(QStringLiteral("Далее"), this);
    BitBtnUpdate->setObjectName(QStringLiteral("BitBtnUpdate"));
    BitBtnUpdate->setDefault(true);
    BitBtnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    buttons->addWidget(BitBtnHelp);
    buttons->addStretch(1);
    buttons->addWidget(BitBtnUpdate);
    buttons->addWidget(BitBtnCancel);
    grid->addLayout(buttons, 6, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    setFixedSize(QSize(257, 210).expandedTo(grid->totalSizeHint()));

    connect(ComboBoxSelect, &QComboBox::currentIndexChanged, this, &TFUpdate::apply_rules);
    connect(ComboBoxUser, &QComboBox::currentIndexChanged, this, &TFUpdate::apply_rules);
    connect(BitBtnDir, &QToolButton::clicked, this, &TFUpdate::BitBtnDirClick);
    connect(BitBtnUpdate, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(EditDir, &QLineEdit::textChanged, EditDir, &QLineEdit::setToolTip);

    choose_file = [this] {
        return QFileDialog::getOpenFileName(
            this, QString(), QString(),
            // Every kind the source takes is shown at first; the kinds one by one follow.
            QStringLiteral("Телепрограмма (*.zorvan_tv *.xml *.xml.gz);;*.zorvan_tv (*.zorvan_tv);;"
                           "XMLTV (*.xml *.xml.gz)"));
    };
    apply_rules();
}

void TFUpdate::load(const DownloadDialogSettings& settings) {
    ComboBoxUser->setCurrentIndex(settings.user_type == 1 ? 1 : 0);
    CheckBoxLoginSave->setChecked(settings.save_login);
    EditLogin->setText(QString::fromStdString(to_utf8(m_account.login)));
    EditPwd->setText(m_account.password.empty() ? QString() : QString::fromLatin1(kPasswordMask));
    apply_rules();
}

void TFUpdate::store(DownloadDialogSettings& settings) const {
    settings.user_type = ComboBoxUser->currentIndex();
    settings.save_login = CheckBoxLoginSave->isChecked();
}

int TFUpdate::source() const {
    return ComboBoxSelect->currentIndex();
}

int TFUpdate::user_type() const {
    return ComboBoxUser->currentIndex();
}

QString TFUpdate::file() const {
    return EditDir->text();
}

bool TFUpdate::run(QWidget* anchor) {
    apply_rules();
    adjustSize();
    if (anchor && anchor->isVisible())
        move(anchor->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    if (exec() != QDialog::Accepted) return false;
    m_account.login = to_cp1251(EditLogin->text().toStdString());
    m_account.save_password = CheckBoxLoginSave->isChecked();
    return true;
}

void TFUpdate::apply_rules() {
    const SourceControlStates s =
        source_control_states(ComboBoxSelect->currentIndex(), ComboBoxUser->currentIndex());
    set_enabled(EditDir, s.file);
    BitBtnDir->setEnabled(s.file);
    set_enabled(ComboBoxUser, s.user_type);
    set_enabled(EditLogin, s.login);
    set_enabled(EditPwd, s.login);
    CheckBoxLoginSave->setEnabled(s.login);
}

void TFUpdate::BitBtnDirClick() {
    const QString chosen = choose_file ? choose_file() : QString();
    if (chosen.isEmpty()) return;
    if (!import_file_name_ok(chosen.toStdString())) {
        m_ui.show_msg(MsgKind::Error, "Не верное расширение файла.");
        return;
    }
    EditDir->setText(chosen);
}

void TFUpdate::take_password() {
    m_account.password = password_digest_after(EditPwd->text().toStdString(), m_account.password);
    EditPwd->setText(m_account.password.empty() ? QString() : QString::fromLatin1(kPasswordMask));
}

bool TFUpdate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditPwd) {
        // Only the user entering the field empties it for a new password; the window coming
        // back to the front, or a menu closing, leaves the stored one in place.
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
                EditPwd->clear();
        }
        if (event->type() == QEvent::FocusOut) take_password();
    }
    return QDialog::eventFilter(watched, event);
}

void TFUpdate::done(int result) {
    if (EditPwd->hasFocus() || EditPwd->text() != QLatin1String(kPasswordMask)) take_password();
    QDialog::done(result);
}

}  // namespace zt
