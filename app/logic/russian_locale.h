#pragma once

#include <QCoreApplication>

namespace zt {

// Dates and numbers follow the Russian locale whatever the desktop's language: the program and
// zorvan-cli print and show the same dates.
void use_russian_locale();

// Qt's standard dialogs (printer, page set-up, file chooser, font, colour, message-box buttons)
// are translated from Qt's own Russian catalogue. Returns whether it was found and installed;
// without it those dialogs stay in English and everything else works as before. Call once,
// after the application object exists.
bool install_qt_russian_translation(QCoreApplication& app);

}  // namespace zt
