// The message, job, connection and statistics windows.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QWindow>

#include "app/program_main.h"

#include "core/store.h"
#include "dialogs/app_ui.h"
#include "dialogs/job_window.h"
#include "dialogs/logic/session_text.h"
#include "dialogs/msg_window.h"
#include "dialogs/progress_window.h"
#include "dialogs/stat_window.h"
#include "storage/settings_store.h"
#include "ui_helpers.h"
#include "views/about_window.h"
#include "views/prog_columns.h"

namespace zt {
namespace {

using test::OnNextModal;

struct Windows {
    SessionState session;
    TFMsg msg;
    TFJob job{[this] { return msg.ShowMsg(MsgKind::Question, QStringLiteral("Прервать?")); },
              &session.job_cancel};
    AppUi ui{session, msg, job};
};

void press(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// The desktop shows each secondary window's caption as it is: the application sets no display
// name, which Qt would append to every caption (" — ЗОРВАН. Телепрограмма.").
TEST(WindowCaptions, EachWindowCarriesExactlyItsOwnCaption) {
    name_application();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());

    Windows w;
    TFProgress progress(nullptr, &w.session.net_cancel);
    TFStat stat;
    Settings settings;
    SettingsStore store(settings);
    TFColTvprog columns(store);
    TFAbout about;
    const std::pair<QWidget*, const char*> windows[] = {
        {&w.msg, "Сообщение"}, {&columns, "Колонки"},  {&about, "О программе"},
        {&stat, "Статистика"}, {&w.job, "Выполнение"}, {&progress, "Центр соединений"},
    };
    for (const auto& [window, caption] : windows) {
        window->winId();  // the platform window carries the caption the desktop shows
        EXPECT_EQ(window->windowHandle()->title(), QString::fromUtf8(caption));
    }
}

TEST(MessageWindow, SilencedMessagesReturnFalseButQuestionsAreAlwaysAsked) {
    Windows w;
    w.session.messages_on = 0;
    for (MsgKind kind : {MsgKind::Info, MsgKind::Error, MsgKind::Server}) {
        OnNextModal fail([](QDialog& d) {
            ADD_FAILURE() << "a silenced message was shown";
            d.reject();
        });
        EXPECT_FALSE(w.ui.show_msg(kind, "Текст")) << static_cast<int>(kind);
        EXPECT_EQ(fail.runs(), 0);
    }
    OnNextModal yes([&](QDialog&) { press(test::widget<QPushButton>(w.msg, "BitBtnYes")); });
    EXPECT_TRUE(w.ui.show_msg(MsgKind::Question, "Вопрос?"));
    EXPECT_EQ(yes.runs(), 1);
}

TEST(MessageWindow, OnlyYesToAQuestionIsTrue) {
    Windows w;
    struct Case {
        MsgKind kind;
        std::function<void(Windows&, QDialog&)> answer;
        bool expected;
    };
    const Case cases[] = {
        {MsgKind::Question,
         [](Windows& w, QDialog&) { press(test::widget<QPushButton>(w.msg, "BitBtnYes")); }, true},
        {MsgKind::Question,
         [](Windows& w, QDialog&) { press(test::widget<QPushButton>(w.msg, "BitBtnNo")); }, false},
        {MsgKind::Question, [](Windows&, QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
         false},
        {MsgKind::Info,
         [](Windows& w, QDialog&) { press(test::widget<QPushButton>(w.msg, "BitBtnInfo")); },
         false},
        {MsgKind::Error,
         [](Windows& w, QDialog&) { press(test::widget<QPushButton>(w.msg, "BitBtnError")); },
         false},
        {MsgKind::Server,
         [](Windows& w, QDialog&) { press(test::widget<QPushButton>(w.msg, "BitBtnError")); },
         false},
    };
    for (const Case& c : cases) {
        OnNextModal answer([&](QDialog& d) { c.answer(w, d); });
        EXPECT_EQ(w.ui.show_msg(c.kind, "Текст"), c.expected) << static_cast<int>(c.kind);
        EXPECT_EQ(answer.runs(), 1);
    }
}

TEST(MessageWindow, PanelHeadAndTextFollowTheKind) {
    Windows w;
    struct Case {
        MsgKind kind;
        QString panel;
        QString head;
        QString text;
    };
    const Case cases[] = {
        {MsgKind::Info, "PanelInfo", " Информация ", "Готово."},
        {MsgKind::Error, "PanelError", " Ошибка ", "Готово."},
        {MsgKind::Question, "PanelDialog", " Вопрос ", "Готово."},
        {MsgKind::Server, "PanelError", " Ошибка ", "Сервер сообщает:\nГотово."},
    };
    for (const Case& c : cases) {
        OnNextModal close([&](QDialog& d) {
            const auto& p = w.msg.current_panel();
            EXPECT_EQ(p.panel->objectName(), c.panel);
            EXPECT_TRUE(p.panel->isVisible());
            EXPECT_EQ(p.head->text(), c.head);
            EXPECT_EQ(p.text->text(), c.text);
            d.reject();
        });
        w.msg.ShowMsg(c.kind, QStringLiteral("Готово."));
    }
}

TEST(MessageWindow, GrowsWithItsTextAndKeepsTheButtonsBelowIt) {
    Windows w;
    int short_height = 0;
    {
        OnNextModal close([&](QDialog& d) {
            short_height = d.height();
            d.reject();
        });
        w.msg.ShowMsg(MsgKind::Info, QStringLiteral("Одна строка."));
    }
    EXPECT_EQ(short_height, TFMsg::kBaseHeight);

    const QString long_text = QStringLiteral(
        "Очень длинное сообщение, которое занимает много строк в окне сообщения, потому что "
        "ширина текста ограничена и слова переносятся на следующие строки одна за другой, "
        "пока не кончится весь этот длинный текст сообщения.");
    OnNextModal close([&](QDialog& d) {
        const QLabel* text = w.msg.current_panel().text;
        EXPECT_EQ(text->width(), TFMsg::kTextWidth);
        EXPECT_EQ(d.height(), TFMsg::kBaseHeight + TFMsg::extra_height(text->height()));
        EXPECT_GT(d.height(), short_height);
        EXPECT_GE(test::widget<QPushButton>(w.msg, "BitBtnInfo")->y(), text->y() + text->height());
        EXPECT_LE(test::widget<QPushButton>(w.msg, "BitBtnInfo")->geometry().bottom(), d.height());
        d.reject();
    });
    w.msg.ShowMsg(MsgKind::Info, long_text);
}

TEST(MessageWindow, HeightRule) {
    EXPECT_EQ(TFMsg::extra_height(13), 0);
    EXPECT_EQ(TFMsg::extra_height(52), 0);
    EXPECT_EQ(TFMsg::extra_height(53), 1);
    EXPECT_EQ(TFMsg::extra_height(65), 13);
}

TEST(MessageWindow, AMessageDuringAnotherOneGetsItsOwnWindow) {
    Windows w;
    bool inner_answer = false;
    OnNextModal outer([&](QDialog& first) {
        OnNextModal inner([&](QDialog& second) {
            EXPECT_NE(&second, &first);
            press(second.findChild<QPushButton*>(QStringLiteral("BitBtnYes")));
        });
        inner_answer = w.msg.ShowMsg(MsgKind::Question, QStringLiteral("Второй вопрос?"));
        EXPECT_EQ(w.msg.current_panel().text->text(), QStringLiteral("Первый"));
        first.reject();
    });
    w.msg.ShowMsg(MsgKind::Info, QStringLiteral("Первый"));
    EXPECT_TRUE(inner_answer);
}

TEST(JobWindow, ShowsTheJobAndItsPercentage) {
    Windows w;
    w.ui.job_begin("Загрузка данных...", false, true);
    EXPECT_TRUE(w.job.isVisible());
    EXPECT_EQ(test::widget<QLabel>(w.job, "LabelName")->text(),
              QStringLiteral("Загрузка данных..."));
    EXPECT_EQ(test::widget<QLabel>(w.job, "LabelProgress")->text(), QStringLiteral("0 %"));
    EXPECT_FALSE(test::widget<QPushButton>(w.job, "BitBtnCancel")->isVisible());
    const int height_without_cancel = w.job.height();

    w.ui.job_progress(42);
    EXPECT_EQ(test::widget<QLabel>(w.job, "LabelProgress")->text(), QStringLiteral("42 %"));
    EXPECT_EQ(test::widget<QProgressBar>(w.job, "ProgressBar")->value(), 42);
    w.ui.job_end();
    EXPECT_FALSE(w.job.isVisible());

    // Hidden, the window ignores progress.
    w.ui.job_progress(77);
    EXPECT_EQ(test::widget<QLabel>(w.job, "LabelProgress")->text(), QStringLiteral("42 %"));

    // A new job starts from zero; with Cancel it is taller, without percentage no bar.
    w.ui.job_begin("Печать...", true, false);
    EXPECT_EQ(test::widget<QLabel>(w.job, "LabelProgress")->text(), QStringLiteral("0 %"));
    EXPECT_FALSE(test::widget<QProgressBar>(w.job, "ProgressBar")->isVisible());
    EXPECT_TRUE(test::widget<QPushButton>(w.job, "BitBtnCancel")->isVisible());
    EXPECT_GT(w.job.height() - test::widget<QProgressBar>(w.job, "ProgressBar")->height(),
              height_without_cancel - test::widget<QProgressBar>(w.job, "ProgressBar")->height());
    w.ui.job_end();
}

// Counts the paints of one widget.
class PaintCounter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
    int paints = 0;
};

// Loading reports progress thousands of times; the window redraws only when the percentage it
// shows changes, and at most every 50 ms.
TEST(JobWindow, RedrawsOnlyForANewPercentageAndNotTooOften) {
    Windows w;
    w.ui.job_begin("Загрузка данных...", false, true);
    PaintCounter counter;
    test::widget<QProgressBar>(w.job, "ProgressBar")->installEventFilter(&counter);

    QElapsedTimer clock;
    clock.start();
    constexpr int reports = 5000;
    for (int i = 0; i < reports; ++i) w.ui.job_progress(i * 100 / reports);
    const qint64 took = clock.elapsed();
    // A redraw may paint the bar twice (its own value change and the window's repaint).
    EXPECT_LE(counter.paints, 2 * (took / 50 + 2)) << "in " << took << " ms";

    // After the interval: the same percentage again draws nothing, a new one draws at once.
    QThread::msleep(60);
    const int shown = test::widget<QProgressBar>(w.job, "ProgressBar")->value();
    const int before = counter.paints;
    w.ui.job_progress(shown);
    EXPECT_EQ(counter.paints, before);
    w.ui.job_progress(shown + 1);
    EXPECT_GT(counter.paints, before);
    EXPECT_EQ(test::widget<QLabel>(w.job, "LabelProgress")->text(),
              QString::number(shown + 1) + QStringLiteral(" %"));
    w.ui.job_end();
}

TEST(JobWindow, CancelAsksAndSetsTheFlagOnlyOnYes) {
    Windows w;
    w.ui.job_begin("Печать...", true, true);
    {
        OnNextModal no([&](QDialog&) { press(test::widget<QPushButton>(w.msg, "BitBtnNo")); });
        press(test::widget<QPushButton>(w.job, "BitBtnCancel"));
        EXPECT_EQ(no.runs(), 1);
    }
    EXPECT_FALSE(w.ui.job_cancelled());
    EXPECT_TRUE(w.job.isVisible());
    {
        OnNextModal yes([&](QDialog&) { press(test::widget<QPushButton>(w.msg, "BitBtnYes")); });
        press(test::widget<QPushButton>(w.job, "BitBtnCancel"));
    }
    EXPECT_TRUE(w.ui.job_cancelled());
    EXPECT_FALSE(w.job.isVisible());

    // The next job starts uncancelled.
    w.ui.job_begin("Печать...", true, true);
    EXPECT_FALSE(w.ui.job_cancelled());
    w.ui.job_end();
}

// A job started while a modal window waits (the print preview runs its own modal loop) still
// takes the clicks on its Cancel.
TEST(JobWindow, CancelWorksWhileAModalWindowWaits) {
    Windows w;
    QDialog modal;
    bool cancelled = false;
    QTimer::singleShot(0, &modal, [&] {
        w.ui.job_begin("Подготовка данных...", true, true);
        QTimer answer;
        answer.setInterval(5);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (!w.msg.isVisible()) return;
            answer.stop();
            press(test::widget<QPushButton>(w.msg, "BitBtnYes"));
        });
        answer.start();
        // Through the window system, where a window blocked by a modal one gets no clicks.
        QTest::mouseClick(w.job.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          test::widget<QPushButton>(w.job, "BitBtnCancel")->geometry().center());
        cancelled = w.ui.job_cancelled();
        w.ui.job_end();
        modal.reject();
    });
    modal.exec();
    EXPECT_TRUE(cancelled);
}

TEST(ConnectionWindow, CancelSetsTheNetworkFlagOnYes) {
    std::uint8_t net_cancel = 0;
    TFMsg msg;
    TFProgress progress([&] { return msg.ShowMsg(MsgKind::Question, QStringLiteral("Прервать?")); },
                        &net_cancel);
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Центр соединений"));
    EXPECT_EQ(test::widget<QLabel>(progress, "LabelBytesUpVal")->text(), QStringLiteral("0 байт"));
    EXPECT_EQ(test::widget<QLabel>(progress, "LabelProcDownVal")->text(), QStringLiteral("0 %"));
    progress.open_centred();
    OnNextModal yes([&](QDialog&) { press(test::widget<QPushButton>(msg, "BitBtnYes")); });
    press(test::widget<QPushButton>(progress, "BitBtnCancel"));
    EXPECT_EQ(net_cancel, 1);
    EXPECT_FALSE(progress.isVisible());
}

TEST(StatisticsWindow, RunningTimeText) {
    const std::pair<unsigned, const char*> cases[] = {{0, "0 мин."},
                                                      {59, "59 мин."},
                                                      {60, "1 ч. 0 мин."},
                                                      {90, "1 ч. 30 мин."},
                                                      {1501, "25 ч. 1 мин."}};
    for (const auto& [minutes, text] : cases) EXPECT_EQ(session_time_text(minutes), text);
}

TEST(StatisticsWindow, EachMinuteAddsToTheRunningTime) {
    TFStat stat;
    EXPECT_EQ(stat.Timer->interval(), 60000);
    EXPECT_TRUE(stat.Timer->isActive());
    for (int i = 0; i < 61; ++i) stat.TimerTimer();
    EXPECT_EQ(test::widget<QLabel>(stat, "LabelDatTime")->text(), QStringLiteral("1 ч. 1 мин."));
    stat.set_traffic(QStringLiteral("3 Кб"), QStringLiteral("2 Мб"));
    EXPECT_EQ(test::widget<QLabel>(stat, "LabelDatOut")->text(), QStringLiteral("3 Кб"));
    EXPECT_EQ(test::widget<QLabel>(stat, "LabelDatIn")->text(), QStringLiteral("2 Мб"));
}

}  // namespace
}  // namespace zt
