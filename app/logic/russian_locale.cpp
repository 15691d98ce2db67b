#include "app/logic/russian_locale.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zt {
namespace {

QLocale russian() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}

}  // namespace

void use_russian_locale() {
    QLocale::setDefault(russian());
}

bool install_qt_russian_translation(QCoreApplication& app) {
    // The application owns the translator, so it lives as long as the dialogs that use it.
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(russian(), QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace zt
