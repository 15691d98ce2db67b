#include "views/about_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/version.h"
#include "net/host_port.h"
#include "storage/settings_general.h"
#include "ui/app_resources.h"
#include "ui/frame_picture.h"
#include "views/logic/service_links.h"
#include "views/rich_text.h"

namespace zt {
namespace {

// The support line of the service (configuration of the service, not of the user).
const char* const kSupportPhone = "(495) 555-01-23";

}  // namespace

QString version_text() {
    return QString::fromLatin1(kProgramVersion) + QStringLiteral(" (") +
           QString::fromLatin1(kProgramBuild) + QStringLiteral(")");
}

TFAbout::TFAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    // The window is exactly as large as what it shows: no blank area under the texts.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    // The picture area: the program's picture in a framed panel.
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("PanelPicture"));
    const QSize area(317, 100);
    QPixmap framed = frame_picture(area, palette().color(QPalette::Button), QColor(128, 128, 128));
    {
        QPainter p(&framed);
        const QPixmap icon = app_icon().pixmap(64, 64);
        p.drawPixmap((area.width() - 64) / 2, (area.height() - 64) / 2, icon);
    }
    picture->setPixmap(framed);
    outer->addWidget(picture);

    LabelTitle = new QLabel(QStringLiteral("ЗОРВАН. Телепрограмма."), this);
    LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
    QFont bold = font();
    bold.setBold(true);
    LabelTitle->setFont(bold);
    LabelTitle->setAlignment(Qt::AlignCenter);
    outer->addWidget(LabelTitle);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel(QStringLiteral("Версия:"), this), 0, 0, Qt::AlignRight);
    LabelVersion = new QLabel(version_text(), this);
    LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
    grid->addWidget(LabelVersion, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Адрес сайта:"), this), 1, 0, Qt::AlignRight);
    LabelSite = new LinkLabel(QString(), this);
    LabelSite->setObjectName(QStringLiteral("LabelSite"));
    grid->addWidget(LabelSite, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("E-mail:"), this), 2, 0, Qt::AlignRight);
    LabelEmail = new LinkLabel(QString(), this);
    LabelEmail->setObjectName(QStringLiteral("LabelEmail"));
    grid->addWidget(LabelEmail, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Телефон в Москве:"), this), 3, 0, Qt::AlignRight);
    LabelPhone = new QLabel(QString::fromLatin1(kSupportPhone), this);
    LabelPhone->setObjectName(QStringLiteral("LabelPhone"));
    grid->addWidget(LabelPhone, 3, 1);
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);
    outer->addSpacing(6);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    outer->addLayout(buttons);

    connect(LabelSite, &LinkLabel::activated, this, [this] { open_address(m_site); });
    connect(LabelEmail, &LinkLabel::activated, this,
            [this] { open_address(QStringLiteral("mailto:") + m_mail); });
    set_service(HostPort{std::string(ServiceSettings::default_host), 80});
}

void TFAbout::set_service(const HostPort& host) {
    QString site = QStringLiteral("http://") + QString::fromStdString(host.host);
    if (host.port != 80) site += QLatin1Char(':') + QString::number(host.port);
    m_site = site + QLatin1Char('/');
    m_mail = QString::fromStdString(support_mail(host));
    LabelSite->setText(m_site);
    LabelEmail->setText(m_mail);
}

void TFAbout::ShowAbout(QWidget* centre_on) {
    if (centre_on) move(centre_on->frameGeometry().center() - rect().center());
    exec();
}

}  // namespace zt
