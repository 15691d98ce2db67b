// What a user clicks never ends in nothing: an address without a browser is said and shown, the
// news window closes by its own button and by Escape.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <QTextBrowser>

#include "dialogs/news_window.h"
#include "ui/open_address.h"
#include "ui_helpers.h"

namespace zt {
namespace {

TEST(Feedback, AnAddressWithoutABrowserIsSaidWithTheAddress) {
    // A desktop without xdg-open: nothing on the search path opens addresses.
    QTemporaryDir empty;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", empty.path().toUtf8());
    QString said;
    {
        test::OnNextModal read([&](QDialog& d) {
            if (auto* box = qobject_cast<QMessageBox*>(&d)) said = box->text();
            d.accept();
        });
        open_address_or_say(QUrl(QStringLiteral("http://127.0.0.1:18080/help/")));
        EXPECT_EQ(read.runs(), 1);
    }
    qputenv("PATH", path);
    EXPECT_EQ(said, QStringLiteral("Не найден браузер. Откройте адрес вручную:\n"
                                   "http://127.0.0.1:18080/help/"));
    EXPECT_EQ(no_browser_text(QUrl(QStringLiteral("mailto:support@zorvan.tv"))),
              QStringLiteral("Не найдена почтовая программа. Напишите по адресу:\n"
                             "support@zorvan.tv"));
}

TEST(Feedback, TheNewsWindowClosesByItsButtonAndByEscape) {
    for (const bool by_escape : {false, true}) {
        QPointer<NewsWindow> news = new NewsWindow(nullptr);
        news->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(news));
        if (by_escape) {
            news->activateWindow();
            QTest::keyClick(test::widget<QTextBrowser>(news, "Browser"), Qt::Key_Escape);
        } else {
            auto* button = news->findChild<QPushButton*>(QStringLiteral("ButtonClose"));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), QStringLiteral("Закрыть"));
            QTest::mouseClick(button, Qt::LeftButton);
        }
        // The window deletes itself on close.
        for (int i = 0; i < 50 && news; ++i) QTest::qWait(10);
        EXPECT_TRUE(news.isNull()) << (by_escape ? "Escape" : "button");
        delete news.data();
    }
}

}  // namespace
}  // namespace zt
