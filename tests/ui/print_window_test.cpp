// The print window and its options dialog over the small generated profile's week.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "print/print_data_dialog.h"
#include "print/print_window.h"
#include "tools/gen/schedule_generator.h"
#include "views/logic/program_list.h"

namespace zt {
namespace {

class PrintWindowTest : public ::testing::Test {
protected:
    const DateTime now = *DateTime::fromParts(2026, 12, 9, 12, 0);
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(now);
    all_list store{clock};
    std::unique_ptr<TFPrint> window;

    void SetUp() override {
        build_types(store);
        build_time_zones(store);
        set_week(store);
        gen::generate(store, gen::profile_by_name("small"), now);
        store.cur_group = 0;
        views::PageOptions o;
        o.page = views::ProgramPage::days;
        o.now = now;
        o.panels.group = 0;
        o.panels.chosen.assign(store.chl_groups[0]->members.size(), 0);
        o.panels.chosen[0] = 1;
        o.days.days.fill(true);
        views::ProgramList list;
        list.rebuild(store, o);
        std::vector<print::PrintRow> rows;
        for (const auto& r : list.rows())
            rows.push_back({r.prog, r.member, r.start, r.finish, r.duration_text});
        print::PrintContext context;
        context.day_names = store.day_names;
        context.fs_view = store.fs_view;
        context.week_cur = store.week_cur;
        context.host = QStringLiteral("tv.zorvan.example");
        window = std::make_unique<TFPrint>(nullptr);
        window->set_document(std::move(rows), std::move(context));
        print::PrintOptions options;
        options.new_channel_enabled = false;  // as the day page grouped by channel offers
        window->set_options(options);
    }
};

TEST_F(PrintWindowTest, PreviewFollowsTheZoomAndThePrinterPage) {
    const int dpi = window->printer().resolution();
    const QRect page = window->printer().pageLayout().fullRectPixels(dpi);
    for (int item : {1, 2, 4}) {
        const int z = std::array{24, 48, 96, 144, 192}[std::size_t(item)];
        window->set_zoom(item);
        window->BuildPreview();
        EXPECT_EQ(window->EditDPI->text(), QString::number(dpi));
        EXPECT_EQ(window->shown_page().width(), int(std::trunc(double(page.width()) / dpi * z)));
        EXPECT_EQ(window->ComboBoxViewPage->count(), window->page_count());
        EXPECT_EQ(window->ComboBoxViewPage->currentIndex(), 0);
        EXPECT_EQ(window->EditPageFinish->text(), QString::number(window->page_count()));
    }
    // Range fields: an end before the start gives every page.
    window->CheckBoxPage->setChecked(false);
    window->EditPageStart->setText(QStringLiteral("5"));
    window->EditPageFinish->setText(QStringLiteral("2"));
    emit window->EditPageStart->editingFinished();
    EXPECT_EQ(window->EditPageStart->text(), QStringLiteral("1"));
    EXPECT_EQ(window->EditPageFinish->text(), QString::number(window->page_count()));
}

TEST_F(PrintWindowTest, OptionsDialogKeepsItsDependentOptions) {
    TFPrintData& data = window->data_dialog();
    data.set_options(window->options());
    EXPECT_TRUE(data.CheckBoxNewDay->isEnabled());
    EXPECT_FALSE(data.CheckBoxNewChl->isEnabled());
    data.CheckBoxNewDay->setChecked(true);
    EXPECT_TRUE(data.CheckBoxNameDay->isChecked());
    EXPECT_FALSE(data.CheckBoxNameDay->isEnabled());
    data.CheckBoxLongStr->setChecked(true);
    EXPECT_TRUE(data.CheckBoxStrSplit->isChecked());
    EXPECT_FALSE(data.CheckBoxStrSplit->isEnabled());
    data.CheckBoxLongStr->setChecked(false);
    EXPECT_TRUE(data.CheckBoxStrSplit->isEnabled());
    data.EditColNum->setText(QStringLiteral("0"));
    emit data.EditColNum->editingFinished();
    EXPECT_EQ(data.EditColNum->text(), QStringLiteral("1"));
    const print::PrintOptions o = data.options();
    EXPECT_TRUE(o.new_day);
    EXPECT_EQ(o.columns, 1);
}

// The "экономичный" profile: one column of one-line text with merged start times.
TEST_F(PrintWindowTest, EconomicalProfileGivesOneColumnOfFlowingText) {
    window->BuildPreview();
    const int pages_before = window->page_count();
    window->ComboBoxProfiles->setCurrentIndex(1);
    emit window->ComboBoxProfiles->activated(1);
    EXPECT_TRUE(window->options().one_line);
    EXPECT_EQ(window->options().columns, 1);
    EXPECT_LT(window->page_count(), pages_before);
}

// With ZT_PRINT_SHOW_MS set (and a real display) the window stays up that long at the zoom
// of ZT_PRINT_ZOOM with the options dialog open, for a screenshot.
TEST_F(PrintWindowTest, ShowForALook) {
    const int ms = qEnvironmentVariableIntValue("ZT_PRINT_SHOW_MS");
    if (ms <= 0) GTEST_SKIP() << "set ZT_PRINT_SHOW_MS to look at the window";
    window->set_zoom(qEnvironmentVariableIntValue("ZT_PRINT_ZOOM"));
    window->resize(1000, 700);
    window->move(0, 0);
    window->show();
    window->BuildPreview();
    TFPrintData& data = window->data_dialog();
    data.set_options(window->options());
    data.move(560, 200);
    data.show();
    QTest::qWait(ms);
}

}  // namespace
}  // namespace zt
