// The rules of the download dialogs that need no window.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/text_helpers.h"
#include "dialogs/logic/update_rules.h"

namespace zt {
namespace {

TEST(UpdateRules, PasswordFieldBecomesTheDigest) {
    const std::string held = md5_hex("old");
    struct Case {
        const char* field;
        std::string digest;
    };
    const Case cases[] = {
        {"", ""},            // an emptied field forgets the password
        {"********", held},  // the mask keeps it
        {"*******", md5_hex("*******")},
        {"Пароль", md5_hex(to_cp1251("Пароль"))},  // digest of the CP1251 bytes
    };
    for (const Case& c : cases)
        EXPECT_EQ(password_digest_after(c.field, held), c.digest) << c.field;
}

TEST(UpdateRules, FileNamesSourcesAndStatusWidths) {
    for (const char* ok : {"a.zorvan_tv", "/x/A.ZORVAN_TV", "b.xml", "c.XML.gz"})
        EXPECT_TRUE(import_file_name_ok(ok)) << ok;
    for (const char* bad : {"a.txt", "zorvan_tv", "b.gz", "c.xml.bz2"})
        EXPECT_FALSE(import_file_name_ok(bad)) << bad;

    // Source "Файл" disables the user controls whatever the user type shows.
    EXPECT_EQ(source_control_states(1, 1), (SourceControlStates{true, false, false}));
    EXPECT_EQ(source_control_states(0, 0), (SourceControlStates{false, true, false}));
    EXPECT_EQ(source_control_states(0, 1), (SourceControlStates{false, true, true}));

    EXPECT_EQ(status_panel_widths(618), (std::array<int, 4>{154, 92, 173, 105}));
}

TEST(UpdateRules, StatusPanelsMakeRoomForTheirTexts) {
    struct Case {
        std::array<int, 4> needed, widths;
    };
    const Case cases[] = {
        // Texts that fit keep the proportions.
        {{40, 80, 60, 100}, {154, 92, 173, 105}},
        // The balance and the user type take the unused rest first (94 px)...
        {{40, 120, 60, 150}, {154, 120, 173, 150}},
        // ...then what the name and line 1 have beyond their texts.
        {{40, 130, 60, 200}, {115, 130, 173, 200}},
        // Texts wider than the bar: as much as the others can give, nothing below their texts.
        {{150, 150, 170, 200}, {150, 150, 170, 148}},
    };
    for (const Case& c : cases) EXPECT_EQ(status_panel_widths(618, c.needed), c.widths);
}

TEST(UpdateRules, TicksOfOnePackage) {
    net::update_paket_list p;
    p.channels.resize(3);
    p.channels[1].ticked = 1;
    p.channels[2].ticked = 7;  // anything but 1 counts as unticked for the inversion
    apply_ticks(p, TickAction::invert);
    EXPECT_EQ(p.channels[0].ticked + p.channels[1].ticked * 10 + p.channels[2].ticked * 100, 101);
    apply_ticks(p, TickAction::none);
    net::SelectionLists lists;
    lists.update_pakets.push_back(std::make_shared<net::update_paket_list>(p));
    EXPECT_FALSE(any_ticked(lists));
    lists.update_pakets[0]->channels[0].chl_id = 5;
    tick_held_channels(*lists.update_pakets[0], [](std::int32_t id) { return id == 5; });
    EXPECT_TRUE(any_ticked(lists));
    apply_ticks(*lists.update_pakets[0], TickAction::all);
    for (const auto& e : lists.update_pakets[0]->channels) EXPECT_EQ(e.ticked, 1);
}

}  // namespace
}  // namespace zt
