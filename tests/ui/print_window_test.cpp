// The print window and its options dialog over the small generated profile's week.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/genres.h"
#include "core/job_control.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "dialogs/app_ui.h"
#include "dialogs/job_window.h"
#include "dialogs/msg_window.h"
#include "print/print_data_dialog.h"
#include "print/print_window.h"
#include "tools/gen/schedule_generator.h"
#include "ui_helpers.h"
#include "views/logic/program_list.h"

namespace zt {
namespace {

// Generates the profile's store for `now` and gives the window the day page's week on the
// first channel (or on every channel).
void set_week_document(TFPrint& window, all_list& store, DateTime now, const char* profile,
                       bool all_channels) {
    build_types(store);
    build_time_zones(store);
    set_week(store);
    gen::generate(store, gen::profile_by_name(profile), now);
    store.cur_group = 0;
    views::PageOptions o;
    o.page = views::ProgramPage::days;
    o.now = now;
    o.panels.group = 0;
    o.panels.chosen.assign(store.chl_groups[0]->members.size(), all_channels ? 1 : 0);
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
    window.set_document(std::move(rows), std::move(context));
}

// The job window as the print window sees it: records what it is told, and cancels (or runs
// `at_progress`, standing for the user) once the progress reaches `cancel_at`.
class JobRecorder final : public JobControl {
public:
    std::vector<std::string> begun;
    std::vector<int> percents;
    int ended = 0;
    int cancel_at = 101;
    std::function<void()> at_progress;  // instead of cancelling, when set
    bool cancel = false;

    void job_begin(const std::string& text, bool, bool) override {
        begun.push_back(text);
        cancel = false;
    }
    void job_progress(int percent) override {
        percents.push_back(percent);
        if (percent < cancel_at) return;
        cancel_at = 101;
        if (at_progress)
            at_progress();
        else
            cancel = true;
    }
    bool job_cancelled() const override { return cancel; }
    void job_end() override { ++ended; }
};

// Answers every question "Да" and remembers it.
class Answers final : public UserInterface {
public:
    std::vector<std::string> asked;
    bool show_msg(MsgKind, const std::string& text) override {
        asked.push_back(text);
        return true;
    }
};

class PrintWindowTest : public ::testing::Test {
protected:
    JobRecorder jobs;
    Answers answers;
    const DateTime now = *DateTime::fromParts(2026, 12, 9, 12, 0);
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(now);
    all_list store{clock};
    std::unique_ptr<TFPrint> window;

    void SetUp() override {
        window = std::make_unique<TFPrint>(&answers, &jobs);
        set_week_document(*window, store, now, "small", false);
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
        EXPECT_EQ(test::widget<QLineEdit>(*window, "EditDPI")->text(), QString::number(dpi));
        EXPECT_EQ(window->shown_page().width(), int(std::trunc(double(page.width()) / dpi * z)));
        EXPECT_EQ(test::widget<QComboBox>(*window, "ComboBoxViewPage")->count(),
                  window->page_count());
        EXPECT_EQ(test::widget<QComboBox>(*window, "ComboBoxViewPage")->currentIndex(), 0);
        EXPECT_EQ(test::widget<QLineEdit>(*window, "EditPageFinish")->text(),
                  QString::number(window->page_count()));
    }
    // Range fields: an end before the start gives every page.
    test::widget<QCheckBox>(*window, "CheckBoxPage")->setChecked(false);
    test::widget<QLineEdit>(*window, "EditPageStart")->setText(QStringLiteral("5"));
    test::widget<QLineEdit>(*window, "EditPageFinish")->setText(QStringLiteral("2"));
    emit test::widget<QLineEdit>(*window, "EditPageStart")->editingFinished();
    EXPECT_EQ(test::widget<QLineEdit>(*window, "EditPageStart")->text(), QStringLiteral("1"));
    EXPECT_EQ(test::widget<QLineEdit>(*window, "EditPageFinish")->text(),
              QString::number(window->page_count()));
}

TEST_F(PrintWindowTest, OptionsDialogKeepsItsDependentOptions) {
    TFPrintData& data = window->data_dialog();
    data.set_options(window->options());
    EXPECT_TRUE(test::widget<QCheckBox>(data, "CheckBoxNewDay")->isEnabled());
    EXPECT_FALSE(test::widget<QCheckBox>(data, "CheckBoxNewChl")->isEnabled());
    test::widget<QCheckBox>(data, "CheckBoxNewDay")->setChecked(true);
    EXPECT_TRUE(test::widget<QCheckBox>(data, "CheckBoxNameDay")->isChecked());
    EXPECT_FALSE(test::widget<QCheckBox>(data, "CheckBoxNameDay")->isEnabled());
    test::widget<QCheckBox>(data, "CheckBoxLongStr")->setChecked(true);
    EXPECT_TRUE(test::widget<QCheckBox>(data, "CheckBoxStrSplit")->isChecked());
    EXPECT_FALSE(test::widget<QCheckBox>(data, "CheckBoxStrSplit")->isEnabled());
    test::widget<QCheckBox>(data, "CheckBoxLongStr")->setChecked(false);
    EXPECT_TRUE(test::widget<QCheckBox>(data, "CheckBoxStrSplit")->isEnabled());
    test::widget<QLineEdit>(data, "EditColNum")->setText(QStringLiteral("0"));
    emit test::widget<QLineEdit>(data, "EditColNum")->editingFinished();
    EXPECT_EQ(test::widget<QLineEdit>(data, "EditColNum")->text(), QStringLiteral("1"));
    const print::PrintOptions o = data.options();
    EXPECT_TRUE(o.new_day);
    EXPECT_EQ(o.columns, 1);
}

// The "экономичный" profile: one column of one-line text with merged start times.
TEST_F(PrintWindowTest, EconomicalProfileGivesOneColumnOfFlowingText) {
    window->BuildPreview();
    const int pages_before = window->page_count();
    test::widget<QComboBox>(*window, "ComboBoxProfiles")->setCurrentIndex(1);
    emit test::widget<QComboBox>(*window, "ComboBoxProfiles")->activated(1);
    EXPECT_TRUE(window->options().one_line);
    EXPECT_EQ(window->options().columns, 1);
    EXPECT_LT(window->page_count(), pages_before);
}

// The preview is built through the job window; a cancel in the middle leaves no pages.
TEST_F(PrintWindowTest, PreviewBuildShowsProgressAndCancelLeavesItEmpty) {
    window->BuildPreview();
    ASSERT_EQ(jobs.begun, std::vector<std::string>{"Подготовка данных..."});
    EXPECT_EQ(jobs.ended, 1);
    ASSERT_GT(jobs.percents.size(), 10u);
    EXPECT_TRUE(std::is_sorted(jobs.percents.begin(), jobs.percents.end()));
    EXPECT_GT(window->page_count(), 0);
    EXPECT_FALSE(window->shown_page().isNull());

    jobs.percents.clear();
    jobs.cancel_at = 50;
    window->BuildPreview();
    EXPECT_EQ(jobs.ended, 2);
    EXPECT_LT(jobs.percents.back(), 60);  // stopped at the next row
    EXPECT_EQ(window->page_count(), 0);
    EXPECT_EQ(test::widget<QComboBox>(*window, "ComboBoxViewPage")->count(), 0);
    EXPECT_TRUE(window->shown_page().isNull());
    EXPECT_FALSE(window->busy());
    EXPECT_TRUE(test::widget<QPushButton>(*window, "BitBtnStart")->isEnabled());
    EXPECT_FALSE(test::widget<QLineEdit>(*window, "EditPageStart")
                     ->isEnabled());  // "Все страницы" still ticked
}

// A print run into a PDF file: progress through the job window, the window locked but for
// "Отмена"; a cancel from the job window or from "Отмена" (after "Отменить печать?") during the
// layout or the pages leaves no file at all, and no temporary one.
TEST_F(PrintWindowTest, PrintRunCancelledInTheMiddleLeavesNoFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("week.pdf"));
    window->printer().setOutputFormat(QPrinter::PdfFormat);
    window->printer().setOutputFileName(path);
    window->BuildPreview();
    struct Case {
        int at;
        bool by_abort_button;
    };
    // Three copies: the pages report from 50 % on, a cancel at 70 % falls between two pages.
    test::widget<QLineEdit>(*window, "EditCopy")->setText(QStringLiteral("3"));
    for (const Case c : {Case{20, false}, Case{70, false}, Case{30, true}, Case{70, true}}) {
        SCOPED_TRACE(testing::Message() << c.at << (c.by_abort_button ? " Отмена" : " job"));
        answers.asked.clear();
        jobs.cancel_at = c.at;
        jobs.at_progress = nullptr;
        bool locked = false;
        if (c.by_abort_button)
            jobs.at_progress = [&] {
                locked = window->printing() &&
                         !test::widget<QPushButton>(*window, "BitBtnStart")->isEnabled() &&
                         !test::widget<QComboBox>(*window, "ComboBoxViewSize")->isEnabled() &&
                         test::widget<QPushButton>(*window, "BitBtnAbort")->isEnabled();
                test::widget<QPushButton>(*window, "BitBtnAbort")->click();
            };
        window->PrintDocument();
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
        EXPECT_FALSE(window->printing());
        EXPECT_TRUE(test::widget<QPushButton>(*window, "BitBtnStart")->isEnabled());
        if (c.by_abort_button) {
            EXPECT_TRUE(locked);
            EXPECT_EQ(answers.asked,
                      (std::vector<std::string>{"Начать печать?", "Отменить печать?"}));
        }
    }
    jobs.percents.clear();
    jobs.cancel_at = 101;
    window->PrintDocument();
    ASSERT_TRUE(QFile::exists(path));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
    EXPECT_EQ(jobs.percents.back(), 100);
    EXPECT_EQ(jobs.begun.back(), "Печать...");
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

// With ZT_PRINT_SHOT_DIR set (and a real display): the large profile's week on every channel
// previewed through the real job window; the screen is taken once the build is half-way
// (job.png) and again with the preview shown (preview.png).
TEST(PrintJobLook, LongPreviewBuild) {
    const QString shots = qEnvironmentVariable("ZT_PRINT_SHOT_DIR");
    if (shots.isEmpty()) GTEST_SKIP() << "set ZT_PRINT_SHOT_DIR to look at the job window";
    const DateTime now = *DateTime::fromParts(2026, 12, 9, 12, 0);
    all_list store{std::make_shared<FixedClock>(now)};
    QWidget main_window;
    main_window.resize(1100, 760);
    main_window.show();
    TFMsg msg(&main_window);
    SessionState session;
    TFJob job([] { return false; }, &session.job_cancel, &main_window);
    job.set_anchor(&main_window);
    AppUi ui(session, msg, job);
    // Takes the screen once, at half-way.
    class Shooter final : public JobControl {
    public:
        Shooter(AppUi& ui, QString file) : m_ui(ui), m_file(std::move(file)) {}
        void job_begin(const std::string& t, bool c, bool p) override { m_ui.job_begin(t, c, p); }
        void job_progress(int percent) override {
            m_ui.job_progress(percent);
            if (percent < 50 || m_file.isEmpty()) return;
            QTest::qWait(300);  // the window paints the new percentage
            QProcess::execute(QStringLiteral("import"), {"-window", "root", m_file});
            m_file.clear();
        }
        bool job_cancelled() const override { return m_ui.job_cancelled(); }
        void job_end() override { m_ui.job_end(); }

    private:
        AppUi& m_ui;
        QString m_file;
    } shooter(ui, QDir(shots).filePath(QStringLiteral("job.png")));

    TFPrint window(nullptr, &shooter, &main_window);
    set_week_document(window, store, now, "large", true);
    window.set_options(print::PrintOptions{});
    window.set_zoom(2);
    window.resize(1000, 700);
    window.move(50, 30);
    window.show();
    QTest::qWait(300);
    window.BuildPreview();
    QTest::qWait(500);
    QProcess::execute(QStringLiteral("import"),
                      {"-window", "root", QDir(shots).filePath(QStringLiteral("preview.png"))});
    EXPECT_GT(window.page_count(), 1);
}

}  // namespace
}  // namespace zt
