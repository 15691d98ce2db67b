#include "ui/open_address.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QStandardPaths>

namespace zt {

QString no_browser_text(const QUrl& url) {
    const bool mail = url.scheme() == QStringLiteral("mailto");
    return (mail ? QStringLiteral("Не найдена почтовая программа. Напишите по адресу:\n")
                 : QStringLiteral("Не найден браузер. Откройте адрес вручную:\n")) +
           (mail ? url.path() : url.toString());
}

void open_address_or_say(const QUrl& url, QWidget* parent) {
    if (!url.isValid()) return;
    // On this desktop the address goes to xdg-open; without it nothing would open at all.
    const bool opener = !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty();
    if (opener && QDesktopServices::openUrl(url)) return;
    QMessageBox box(QMessageBox::Information, QStringLiteral("ЗОРВАН. Телепрограмма."),
                    no_browser_text(url), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("NoBrowserMessage"));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

}  // namespace zt
