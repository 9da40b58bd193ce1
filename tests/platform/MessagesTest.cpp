#include <gtest/gtest.h>

#include <string>

#include "platform/Messages.h"

namespace {

TEST(Messages, BytesThatAreNotPrintableAreEscaped) {
    const struct {
        std::string raw, shown;
    } cases[] = {
        {"maps.dat: cut short", "maps.dat: cut short"},
        {"a\nb\tc\\d", "a\\nb\\tc\\\\d"},
        {"\x1b[2J\x7f", "\\x1b[2J\\x7f"},
        {"caf\xC3\xA9 \xF0\x9F\x98\x80", "caf\xC3\xA9 \xF0\x9F\x98\x80"},  // UTF-8 stays
        {"\xC3", "\\xc3"},                                                 // cut short
        {"\xC0\x80", "\\xc0\\x80"},                                        // overlong
        {"\xC2\x9B", "\\xc2\\x9b"},                                        // C1 control
        {"\xED\xA0\x80", "\\xed\\xa0\\x80"},                               // surrogate
        {"\xF4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},                      // past U+10FFFF
        {std::string("a\0b", 3), "a\\x00b"},
    };
    for (const auto& c : cases) EXPECT_EQ(printable(c.raw), c.shown) << c.shown;
}

}  // namespace
