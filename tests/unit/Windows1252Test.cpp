#include <gtest/gtest.h>

#include "db/values/ValueErrors.h"
#include "db/values/Windows1252.h"
#include "unit/ExpectError.h"

namespace zav {
namespace {

using test::ThrowsWithMessage;

TEST(Windows1252, EncodesAndDecodesEveryByte) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

TEST(Windows1252, KnownCharacters) {
    EXPECT_EQ(Utf8ToWindows1252("Größe € „x“ – …"),
              "Gr\xF6\xDF"
              "e \x80 \x84x\x93 \x96 \x85");
    EXPECT_EQ(Windows1252ToUtf8("\x9A\x9F\xFF"), "šŸÿ");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81");  // unassigned: the C1 control
}

TEST(Windows1252, RefusesWhatItCannotHold) {
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [] { Utf8ToWindows1252("Łódź"); },
        "Das Zeichen U+0141 kann in der Datenbank nicht gespeichert werden (Windows-1252)"));
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [] { Utf8ToWindows1252("😀"); },
        "Das Zeichen U+1F600 kann in der Datenbank nicht gespeichert werden (Windows-1252)"));
    for (const char* broken : {"\xC3", "a\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82"}) {
        EXPECT_FALSE(IsValidUtf8(broken)) << broken;
        EXPECT_TRUE(ThrowsWithMessage<ConvertError>([&] { Utf8ToWindows1252(broken); },
                                                    "Der Text ist kein gültiger UTF-8-Text"));
    }
}

}  // namespace
}  // namespace zav
