#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/logic/settings_form.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_widgets.h"
#include "net/desktop_proxy.h"
#include "ui/cp_text.h"

namespace zt {

SettingsProxyPage::SettingsProxyPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheetProxy"));
    CheckBoxIE = check_box(this, "CheckBoxIE", QStringLiteral("Брать настройки прокси из системы"),
                           QStringLiteral("Прокси-сервер рабочего стола (переменная http_proxy)"));
    CheckBoxProxy = check_box(this, "CheckBoxProxy", QStringLiteral("Использовать прокси-сервер"));
    EditServer = line_edit(this, "EditServer", 80);
    EditPort = line_edit(this, "EditPort", 5);
    EditUser = line_edit(this, "EditUser", 25);
    EditPwd = line_edit(this, "EditPwd", 25);
    EditPwd->setEchoMode(QLineEdit::Password);
    BitBtnVerify = named<QPushButton>(this, "BitBtnVerify");
    BitBtnVerify->setText(QStringLiteral("Проверить"));
    MemoProxy = named<QPlainTextEdit>(this, "MemoProxy");
    MemoProxy->setReadOnly(true);
    MemoProxy->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoProxy->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoProxy->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EditServiceHost = line_edit(this, "EditServiceHost", 80);
    EditServiceHost->setToolTip(
        QStringLiteral("Адрес сервера телепрограммы: имя или IP-адрес и, через двоеточие, порт"));

    auto* left = new QVBoxLayout;
    left->addWidget(CheckBoxIE);
    left->addWidget(CheckBoxProxy);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Сервер:"), EditServer);
    form->addRow(QStringLiteral("Порт:"), EditPort);
    form->addRow(QStringLiteral("Пользователь:"), EditUser);
    form->addRow(QStringLiteral("Пароль:"), EditPwd);
    form->addRow(QStringLiteral("Сервер телепрограммы:"), EditServiceHost);
    left->addLayout(form);
    left->addWidget(BitBtnVerify, 0, Qt::AlignLeft);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Ответ сервера:"), this));
    right->addWidget(MemoProxy, 1);
    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    connect(CheckBoxIE, &QCheckBox::clicked, this, &SettingsProxyPage::from_browser_clicked);
    connect(CheckBoxProxy, &QCheckBox::clicked, this, &SettingsProxyPage::enable_controls);
    connect(BitBtnVerify, &QPushButton::clicked, this, &SettingsProxyPage::verify_requested);
}

void SettingsProxyPage::load(const ProxySettings& proxy, const ServiceSettings& service) {
    CheckBoxIE->setChecked(proxy.from_browser);
    CheckBoxProxy->setChecked(proxy.use_proxy && !proxy.from_browser);
    EditServer->setText(from_cp(proxy.server));
    EditPort->setText(from_cp(proxy.port));
    EditUser->setText(from_cp(proxy.user));
    EditPwd->setText(from_cp(proxy.password));
    EditServiceHost->setText(from_cp(service.host));
    MemoProxy->clear();
    enable_controls();
}

void SettingsProxyPage::store(ProxySettings& proxy) const {
    proxy.from_browser = CheckBoxIE->isChecked();
    proxy.use_proxy = CheckBoxProxy->isChecked();
    proxy.server = to_cp(EditServer->text());
    proxy.port = to_cp(EditPort->text());
    proxy.user = to_cp(EditUser->text());
    proxy.password = to_cp(EditPwd->text());
}

std::string SettingsProxyPage::service_text() const {
    return EditServiceHost->text().toStdString();
}

void SettingsProxyPage::set_verify_enabled(bool enabled) {
    BitBtnVerify->setEnabled(enabled);
}

void SettingsProxyPage::show_answer(const std::vector<std::string>& lines) {
    MemoProxy->clear();
    for (const std::string& line : lines) MemoProxy->appendPlainText(from_cp(line));
}

void SettingsProxyPage::from_browser_clicked(bool on) {
    ProxySettings proxy;
    store(proxy);
    set_from_browser(proxy, on, net::desktop_proxy_value());
    CheckBoxProxy->setChecked(proxy.use_proxy);
    EditServer->setText(from_cp(proxy.server));
    EditPort->setText(from_cp(proxy.port));
    enable_controls();
}

void SettingsProxyPage::enable_controls() {
    ProxySettings proxy;
    store(proxy);
    const ProxyControls state = proxy_controls(proxy);
    CheckBoxProxy->setEnabled(state.proxy_box);
    for (QLineEdit* e : {EditServer, EditPort, EditUser, EditPwd}) e->setEnabled(state.fields);
}

}  // namespace zt

// The four page classes share one header.
#include "moc_settings_pages.cpp"
