// Windows at their default size and font show every caption whole, name every field and
// leave no blank area; the reminder mark of the tables is seen at a glance.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTest>
#include <cmath>

#include "core/store.h"
#include "core/time_zones.h"
#include "managers/group_dialogs.h"
#include "print/print_window.h"
#include "storage/settings.h"
#include "test_support.h"
#include "ui/header_captions.h"
#include "ui/image_lists.h"
#include "ui_helpers.h"
#include "views/about_window.h"
#include "views/channel_panel.h"
#include "views/logic/view_state.h"
#include "views/prog_delegate.h"

namespace zt {
namespace {

// The texts of `window` that its widgets cut: a label narrower than its one line of text, a
// check box or button narrower than its caption, a combo box whose field is narrower than the
// text it shows.
std::vector<QString> cut_texts(QWidget& window) {
    std::vector<QString> cut;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->wordWrap() || label->text().isEmpty() ||
                label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text()))
                continue;
            QString text = label->text();
            if (label->buddy()) text.remove(QLatin1Char('&'));
            if (label->contentsRect().width() < label->fontMetrics().horizontalAdvance(text))
                cut.push_back(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (!button->text().isEmpty() && button->width() < button->sizeHint().width())
                cut.push_back(button->text());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const QString text =
                combo->currentIndex() < 0 ? combo->placeholderText() : combo->currentText();
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            if (field.width() < combo->fontMetrics().horizontalAdvance(text)) cut.push_back(text);
        }
    }
    return cut;
}

TEST(WindowFit, ThePrintWindowShowsEveryCaptionWholeAtItsSize) {
    test::Recorder ui;
    TFPrint window(&ui, nullptr);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(cut_texts(window), std::vector<QString>{}) << window.size().width();
    // Its least size keeps them whole too.
    window.resize(window.minimumSize());
    QApplication::processEvents();
    EXPECT_EQ(cut_texts(window), std::vector<QString>{}) << window.size().width();
}

TEST(WindowFit, TheAboutWindowIsAsLargeAsWhatItShows) {
    TFAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(cut_texts(about), std::vector<QString>{});
    // No blank area: the OK button follows the last line of texts closely.
    const QWidget* phone = test::widget<QWidget>(about, "LabelPhone");
    const QWidget* ok = test::widget<QWidget>(about, "BitBtnOK");
    const int gap =
        ok->mapTo(&about, QPoint(0, 0)).y() - phone->mapTo(&about, QPoint(0, phone->height())).y();
    EXPECT_LT(gap, 2 * phone->fontMetrics().height()) << gap;
    EXPECT_LT(about.height() - (ok->mapTo(&about, QPoint(0, ok->height())).y()), 20);
}

TEST(WindowFit, TheChannelDialogNamesItsTimeZoneBox) {
    auto store = test::make_store(test::at("2026-12-10 12:00"));
    build_time_zones(*store);
    TFMgrChlInGrpEdit dialog;
    dialog.shift().set_zones(store->time_zones);
    dialog.shift().clear_preset();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* zones = test::widget<QComboBox>(dialog, "ComboBoxTimeSel");
    auto* label = test::widget<QLabel>(dialog, "LabelTimeSel");
    EXPECT_EQ(label->buddy(), zones);
    EXPECT_EQ(label->text().remove('&'), QStringLiteral("Часовой пояс:"));
    // With no zone picked the box says what it is for instead of standing blank.
    EXPECT_EQ(zones->currentIndex(), -1);
    EXPECT_FALSE(zones->placeholderText().isEmpty());
    EXPECT_EQ(cut_texts(dialog), std::vector<QString>{});
}

TEST(WindowFit, TheChannelListShowsItsCaptionsWholeAtTheFirstStartWidths) {
    auto store = test::make_store(test::at("2026-12-10 12:00"));
    ViewState view(*store);
    Settings settings;
    LogoImages logos;
    ChannelPanel panel(view, settings, logos);
    panel.apply_settings();
    panel.show();
    auto* list = test::widget<QAbstractItemView>(panel, "ListViewChannels");
    auto* header = static_cast<QTableView*>(list)->horizontalHeader();
    for (int section : {0, 1})
        EXPECT_GE(header->sectionSize(section), caption_width(*header, section)) << section;
    // A width of the user's own is kept, even a narrow one.
    settings.channel_panel.columns = {120, 40};
    panel.apply_settings();
    EXPECT_EQ(header->sectionSize(1), 40);
}

// The contrast ratio of two colours as accessibility guidelines define it (1 to 21).
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double x = luminance(a) + 0.05, y = luminance(b) + 0.05;
    return std::max(x, y) / std::min(x, y);
}

TEST(ReminderMark, IsSeenOnTheRowAndKeepsItsTextReadable) {
    const QColor white(Qt::white), black(Qt::black);
    // The default pale tint, a user's pale pink, a strong colour and a grey.
    for (const QColor& chosen :
         {settings_colour(ViewSettings{}.alarm, Qt::white), QColor(255, 235, 235),
          QColor(255, 160, 0), QColor(240, 240, 240)}) {
        SCOPED_TRACE(chosen.name().toStdString());
        const QColor fill = reminder_fill(chosen);
        const QColor bar = reminder_bar(chosen);
        EXPECT_GE(contrast(fill, white), 1.6) << fill.name();  // the cell stands out
        EXPECT_GE(contrast(fill, black), 7.0) << fill.name();  // its black text reads easily
        EXPECT_GE(contrast(bar, white), 3.0) << bar.name();    // the bar is plainly seen
    }
    // A colour already strong enough is kept.
    const QColor kept = reminder_fill(QColor(255, 160, 0));
    EXPECT_LE(std::abs(kept.red() - 255) + std::abs(kept.green() - 160) + kept.blue(), 2)
        << kept.name();
}

}  // namespace
}  // namespace zt
