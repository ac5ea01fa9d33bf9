#include "core/text_encoding.h"

#include <gtest/gtest.h>

namespace tama05 {
namespace {

TEST(TextEncoding, AsciiIsUnchanged) {
    EXPECT_EQ(Utf8ToCp932("C:/games/tama05"), "C:/games/tama05");
    EXPECT_EQ(Cp932ToUtf8("skin.txt"), "skin.txt");
    EXPECT_EQ(Utf8ToCp932(""), "");
}

TEST(TextEncoding, JapaneseRoundTrips) {
    // "終了する" is 4 double-byte characters in code page 932: 8 bytes.
    const std::optional<std::string> cp932 = Utf8ToCp932("終了する");
    ASSERT_TRUE(cp932);
    EXPECT_EQ(cp932->size(), 8u);
    EXPECT_EQ(static_cast<unsigned char>((*cp932)[0]), 0x8Fu);  // 終 = 0x8F49
    EXPECT_EQ(static_cast<unsigned char>((*cp932)[1]), 0x49u);
    EXPECT_EQ(Cp932ToUtf8(*cp932), "終了する");
}

TEST(TextEncoding, HalfWidthKatakanaGrowsToThreeBytes) {
    // 0xB1 is the half-width katakana "ｱ" (U+FF71).
    EXPECT_EQ(Cp932ToUtf8(std::string(4, '\xB1')), "ｱｱｱｱ");
}

TEST(TextEncoding, UnconvertibleTextIsRefusedNotReplaced) {
    EXPECT_FALSE(Utf8ToCp932("smile \xF0\x9F\x98\x80"));  // an emoji has no code page 932 form
    EXPECT_FALSE(Utf8ToCp932("\xFF\xFE"));                // not UTF-8
    EXPECT_FALSE(Cp932ToUtf8("\x81"));                    // a lead byte without its trail byte
    // The yen sign would come back as a backslash: a different path.
    EXPECT_FALSE(Utf8ToCp932("C:/\xC2\xA5/a"));
    EXPECT_EQ(Utf8ToCp932("~/a\\b"), "~/a\\b");
}

}  // namespace
}  // namespace tama05
