// The reading's character set: the table agrees with the system's converter wherever the
// converter knows the byte, and every byte decodes to something.
#include <iconv.h>

#include <gtest/gtest.h>

#include "Windows1250.h"

TEST(Windows1250, AgreesWithIconvForEveryDefinedByte)
{
    iconv_t converter = iconv_open("UTF-16LE", "CP1250");
    ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
    int compared = 0;
    for (int b = 1; b < 256; ++b) {
        char in = static_cast<char>(b);
        char16_t out = 0;
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(&out);
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) continue;
        EXPECT_EQ(DecodeWindows1250(static_cast<unsigned char>(b)), out) << "byte " << b;
        ++compared;
    }
    iconv_close(converter);
    EXPECT_GE(compared, 250);
}

TEST(Windows1250, KnownCharactersAndUndefinedBytes)
{
    EXPECT_EQ(DecodeWindows1250(0xB5), u'µ');
    EXPECT_EQ(DecodeWindows1250(0x8A), u'Š');
    EXPECT_EQ(DecodeWindows1250(0x80), u'€');
    EXPECT_EQ(DecodeWindows1250(0xFF), u'˙');
    for (unsigned char undefined : {0x81, 0x83, 0x88, 0x90, 0x98})
        EXPECT_EQ(DecodeWindows1250(undefined), undefined);
}

TEST(Windows1250, StringEndsAtItsNul)
{
    EXPECT_EQ(DecodeWindows1250("10 \xb5s\0tail"), u"10 µs");
    EXPECT_EQ(DecodeWindows1250(""), u"");
}
