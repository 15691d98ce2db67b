// The program speaks Russian beyond its own texts: Qt's standard dialogs are translated and dates
// follow the Russian locale whatever the desktop's language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>

#include "app/logic/russian_locale.h"
#include "print/logic/print_paint.h"

namespace zt {
namespace {

TEST(RussianLocale, StandardDialogsAndDatesAreRussian) {
    const QLocale before;
    ASSERT_TRUE(install_qt_russian_translation(*QCoreApplication::instance()))
        << "qtbase_ru.qm not found (package qt6-translations-l10n)";
    use_russian_locale();
    {
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                 QDialogButtonBox::Save | QDialogButtonBox::Open);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
        EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text(), QStringLiteral("Сохранить"));
        EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text(), QStringLiteral("Открыть"));
    }
    // The printed week: Monday 7 to Sunday 13 December 2026.
    EXPECT_EQ(print::locale_short_date(*DateTime::fromParts(2026, 12, 7)),
              QStringLiteral("07.12.2026"));
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 7), QStringLiteral("d MMMM yyyy")),
              QStringLiteral("7 декабря 2026"));
    EXPECT_EQ(
        print::document_name(QStringLiteral("ЗОРВАН. Телепрограмма.")) + QStringLiteral(".pdf"),
        QStringLiteral("ЗОРВАН. Телепрограмма.pdf"));

    // The other window tests run with Qt's own texts and the desktop's locale.
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    QLocale::setDefault(before);
}

}  // namespace
}  // namespace zt
