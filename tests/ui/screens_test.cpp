// Shows the two tabs with data (and the favourite dialog) for a while, so they can be looked at
// on a real display: ZT_SHOW_SECONDS=N with DISPLAY set and QT_QPA_PLATFORM=xcb. Skipped
// otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "managers/favourite_dialog.h"
#include "managers/favourites_tab.h"
#include "managers/genre_groups_tab.h"
#include "managers/ordered_list_view.h"
#include "tab_fixture.h"

namespace zt::test {
namespace {

TEST(ManagerTabsOnScreen, ShowForAWhile) {
    const int seconds = qEnvironmentVariableIntValue("ZT_SHOW_SECONDS");
    if (seconds <= 0) GTEST_SKIP() << "ZT_SHOW_SECONDS not set";
    TabFixture f;
    f.store->types[9]->abbr = "Ком"_cp;
    f.store->types[13]->abbr = "Трл"_cp;
    QTabWidget window;
    auto* genres = new GenreGroupsTab(f.ctx);
    auto* favourites = new FavouritesTab(f.ctx);
    window.addTab(genres, QStringLiteral("Типы"));
    window.addTab(favourites, QStringLiteral("Передачи"));
    window.resize(760, 560);
    window.show();
    genres->group_list().setCurrentIndex(genres->group_list().model()->index(0, 0));
    favourites->ChooseChannel(0);
    favourites->love_view().select_rows({1});
    const QString which = qEnvironmentVariable("ZT_SHOW_TAB");
    window.setCurrentIndex(which == QStringLiteral("fav") || which == QStringLiteral("dialog"));
    if (which == QStringLiteral("dialog")) {
        QTimer::singleShot(0, [&] { favourites->EditEntry(); });
        QTimer::singleShot(seconds * 1000, [&] { favourites->dialog().reject(); });
    }
    QTest::qWait(seconds * 1000 + 200);
}

}  // namespace
}  // namespace zt::test
