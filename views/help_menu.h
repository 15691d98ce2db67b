#pragma once

#include <string_view>

class QAction;
class QObject;

namespace zt {

struct Settings;

// Opens a page of the service's web site (a path on the configured server host) in the
// desktop's browser. A failure of the desktop to open it is not reported.
void open_service_page(const Settings& settings, std::string_view path);

// Connects "Содержание", "Сайт программы" and "Письмо в службу поддержки" of "Справка".
void connect_help_links(QAction& index, QAction& site, QAction& mail, const Settings& settings,
                        QObject& context);

}  // namespace zt
