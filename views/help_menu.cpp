#include "views/help_menu.h"

#include <QAction>
#include <QUrl>

#include "net/host_port.h"
#include "storage/settings.h"
#include "ui/open_address.h"
#include "views/logic/service_links.h"

namespace zt {

void open_service_page(const Settings& settings, std::string_view path) {
    open_address_or_say(
        QUrl(QString::fromStdString(service_page_url(service_host(settings), path))));
}

void connect_help_links(QAction& index, QAction& site, QAction& mail, const Settings& settings,
                        QObject& context) {
    const Settings* s = &settings;
    QObject::connect(&index, &QAction::triggered, &context,
                     [s] { open_service_page(*s, kHelpPath); });
    QObject::connect(&site, &QAction::triggered, &context,
                     [s] { open_service_page(*s, kSitePath); });
    QObject::connect(&mail, &QAction::triggered, &context, [s] {
        open_address_or_say(QUrl(QString::fromStdString(support_mail_url(service_host(*s)))));
    });
}

}  // namespace zt
