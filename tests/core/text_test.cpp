#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "core/text_helpers.h"

namespace zt {
namespace {

TEST(Split, CharAndText) {
    std::vector<std::string> parts;
    EXPECT_EQ(split_char("20:45", parts, ':'), 2);
    EXPECT_EQ(parts, (std::vector<std::string>{"20", "45"}));
    EXPECT_EQ(split_char("a;;b;", parts, ';'), 4);
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(split_char("", parts, ';'), 1);
    EXPECT_EQ(parts, (std::vector<std::string>{""}));
    EXPECT_EQ(split_text("a<>b<><>c", parts, "<>"), 4);
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "b", "", "c"}));
    // Overlapping separators are not found twice; the comparison is case-sensitive.
    EXPECT_EQ(split_text("xaaay", parts, "aa"), 2);
    EXPECT_EQ(parts, (std::vector<std::string>{"x", "ay"}));
    EXPECT_EQ(split_text("xAAy", parts, "aa"), 1);
}

TEST(FormatMoney, RublesAndKopecks) {
    EXPECT_EQ(to_utf8(FormatMoney("12345")), "123 руб. 45 коп.");
    EXPECT_EQ(to_utf8(FormatMoney("12300")), "123 руб.");
    EXPECT_EQ(to_utf8(FormatMoney("0")), "0 руб.");
    EXPECT_EQ(to_utf8(FormatMoney("5")), "0 руб. 05 коп.");
    EXPECT_EQ(to_utf8(FormatMoney("105")), "1 руб. 05 коп.");
    EXPECT_EQ(to_utf8(FormatMoney("50")), "0 руб. 50 коп.");
}

TEST(PlainDescr, DropsMarkupAndLineBreaks) {
    EXPECT_EQ(plain_descr("<b>Премьера</b>\r\nфильма\nи\rконец"_cp), "Премьера фильмаиконец"_cp);
}

TEST(Md5, KnownDigests) {
    EXPECT_EQ(md5_hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5_hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5_hex("пароль"_cp).size(), 32u);
}

TEST(IntOrDefault, Cases) {
    EXPECT_EQ(int_or_default("abc", 16), "16");
    EXPECT_EQ(int_or_default("24", 16), "24");
    EXPECT_EQ(int_or_default("0", 16), "16");
    EXPECT_EQ(int_or_default("  -3x", 16), "-3");
}

TEST(Cp1251, CaseAndConversion) {
    EXPECT_EQ(cp1251_lower("НОВОСТИ Ёлка ABC"_cp), "новости ёлка abc"_cp);
    EXPECT_EQ(cp1251_upper("ёж і ў"_cp), "ЁЖ І Ў"_cp);
    EXPECT_TRUE(cp1251_iequal("НоВоСтИ"_cp, "новости"_cp));
    EXPECT_FALSE(cp1251_iequal("новость"_cp, "новости"_cp));
    EXPECT_EQ(cp1251_ifind("Вечерние НОВОСТИ"_cp, "новости"_cp), 9u);
    // Every byte survives CP1251 -> UTF-8 -> CP1251.
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    EXPECT_EQ(to_cp1251(to_utf8(all)), all);
    EXPECT_EQ(to_cp1251("日本"), "??");
    EXPECT_EQ(to_cp1251("\xD0"), "?");  // cut UTF-8 sequence
}

}  // namespace
}  // namespace zt
