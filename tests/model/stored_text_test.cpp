#include "stored_text.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

// Strict UTF-8 passes through; anything else, including forms loose decoders accept, is
// read as Latin-1 byte by byte.
TEST(StoredText, AcceptsExactlyStrictUtf8) {
    struct Case {
        std::string bytes;
        bool strict;
    };
    for (const auto& [bytes, strict] : {
             Case{"Drums", true}, Case{"Caf\xC3\xA9", true}, Case{"\xE2\x82\xAC", true},  // U+20AC
             Case{"\xF0\x9F\x8E\xB9", true},                                              // U+1F3B9
             Case{"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
             Case{"Caf\xE9", false},           // Latin-1
             Case{"\xC0\x80", false},          // overlong NUL
             Case{"\xE0\x80\xAF", false},      // overlong '/'
             Case{"\xF0\x82\x82\xAC", false},  // overlong euro
             Case{"\xED\xA0\x80", false},      // surrogate U+D800
             Case{"\xF4\x90\x80\x80", false},  // above U+10FFFF
             Case{"\xF5\x80\x80\x80", false},  // no such lead byte
             Case{"\xC3", false},              // cut off
             Case{"\xE2\x82", false},          // cut off
         }) {
        EXPECT_EQ(IsStrictUtf8(bytes), strict) << ::testing::PrintToString(bytes);
        EXPECT_EQ(StoredTextToUtf8(bytes) == bytes, strict);
        EXPECT_TRUE(IsStrictUtf8(StoredTextToUtf8(bytes)));
    }
    EXPECT_EQ(StoredTextToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(StoredTextToUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");
}

}  // namespace
}  // namespace korvel
