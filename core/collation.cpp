#include "core/collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include "core/cp1251.h"

namespace zt {

int collate_compare(const std::string& a, const std::string& b) {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Russian, QLocale::Russia));
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return collator.compare(QString::fromStdString(to_utf8(a)), QString::fromStdString(to_utf8(b)));
}

}  // namespace zt
