#include "reminders/logic/reminder_switches.h"

#include <gtest/gtest.h>

#include "views/logic/service_links.h"

namespace zt {
namespace {

TEST(ReminderSwitches, DeliverySwitchesFollowTheMainSwitch) {
    AlarmSwitchSettings s;
    for (std::size_t i = 0; i < kReminderSwitches.size(); ++i)
        EXPECT_TRUE(reminder_switch_enabled(s, i)) << i;

    toggle_reminder_switch(s, kReminderOn);
    EXPECT_FALSE(s.enabled);
    EXPECT_TRUE(reminder_switch_enabled(s, kReminderOn));
    for (std::size_t i = 1; i < kReminderSwitches.size(); ++i)
        EXPECT_FALSE(reminder_switch_enabled(s, i)) << i;

    // Turning reminders off keeps the delivery choices for when they come back on.
    EXPECT_TRUE(s.window);
    toggle_reminder_switch(s, kReminderOn);
    EXPECT_TRUE(s.enabled);
    EXPECT_TRUE(s.window);
}

TEST(ReminderSwitches, EachSwitchFlipsItsOwnValueOnly) {
    for (std::size_t i = 0; i < kReminderSwitches.size(); ++i) {
        AlarmSwitchSettings s;
        toggle_reminder_switch(s, i);
        AlarmSwitchSettings expected;
        expected.*kReminderSwitches[i].flag = !(expected.*kReminderSwitches[i].flag);
        EXPECT_EQ(s, expected) << kReminderSwitches[i].name;
    }
    AlarmSwitchSettings s;
    toggle_reminder_switch(s, kReminderSwitches.size());
    EXPECT_EQ(s, AlarmSwitchSettings{});
}

TEST(ServiceLinks, AddressesOnTheConfiguredHost) {
    EXPECT_EQ(service_page_url({"tv.example", 80}, kCabinetPath),
              "http://tv.example/cgi-bin/user.cgi");
    EXPECT_EQ(service_page_url({"127.0.0.1", 8080}, kHelpPath),
              "http://127.0.0.1:8080/docs/help.htm");
    EXPECT_EQ(service_page_url({"tv.example", 80}, kSitePath), "http://tv.example/");
    EXPECT_EQ(service_page_url({"tv.example", 80}, "x"), "http://tv.example/x");
    EXPECT_EQ(support_mail_url({"tv.example", 81}), "mailto:support@tv.example");
    // A server given by its address has no mail domain: the service's own mailbox is named.
    for (const char* address : {"127.0.0.1", "::1", "192.168.0.10"})
        EXPECT_EQ(support_mail({address, 18080}), "support@tv.zorvan.example") << address;
}

}  // namespace
}  // namespace zt
