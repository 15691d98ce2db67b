#pragma once

#include <QUrl>

class QWidget;

namespace zt {

// Hands an address to the desktop ("http://..." to the browser, "mailto:" to the mail program).
// Where the desktop has nothing to open it with, a message says so and shows the address, so
// the user can open it by hand; a click never ends in nothing.
void open_address_or_say(const QUrl& url, QWidget* parent = nullptr);

// The text of that message.
QString no_browser_text(const QUrl& url);

}  // namespace zt
