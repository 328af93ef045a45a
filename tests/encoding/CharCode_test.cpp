#include "encoding/CharCode.h"

#include <gtest/gtest.h>

#include <string>

using namespace pictor;

// The search agrees with a walk character by character over every short mix of lead bytes, plain
// bytes, half-width kana and the bytes searched for.
TEST(FindCharacter, AgreesWithTheWalk)
{
    const char alphabet[] = {'\x82', 'a', '<', '"', '\xA0'};
    for (int length = 0; length <= 7; ++length) {
        int count = 1;
        for (int k = 0; k < length; ++k) count *= 5;
        for (int n = 0; n < count; ++n) {
            std::string text;
            for (int k = 0, v = n; k < length; ++k, v /= 5) text += alphabet[v % 5];
            for (size_t from = 0; from <= text.size(); from += size_t(CharLength(text.data() + from, text.data() + text.size(), false))) {
                size_t walked = from;
                while (walked < text.size() && text[walked] != '<' && text[walked] != '"')
                    walked += size_t(CharLength(text.data() + walked, text.data() + text.size(), false));
                if (walked >= text.size()) walked = std::string::npos;
                EXPECT_EQ(FindCharacter(text, from, "<\"", false), walked) << text << " from " << from;
                if (from == text.size()) break;
            }
        }
    }
}
