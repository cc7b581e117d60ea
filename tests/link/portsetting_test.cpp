#include "portsetting.h"

#include <gtest/gtest.h>

#include <cstring>

#include "dynstring.h"

TEST(PortSetting, FormatsNameRateBitsAndParity) {
    CDynString text;
    PortSetting setting{"COM1", 38400, 8, 0};
    ASSERT_EQ(1, FormatPortSetting(text, setting));
    EXPECT_STREQ("COM1 38400/8/Žádná (NO)", text.GetString());
    ASSERT_EQ(1, FormatPortSetting(text, "COM12", 115200, 7, 2));
    EXPECT_STREQ("COM12 115200/7/Sudá (EVEN)", text.GetString());
}

TEST(PortSetting, StatusBarFormAddsThirtyNineBlanks) {
    CDynString plain, padded;
    PortSetting setting{"COM3", 9600, 8, 1};
    FormatPortSetting(plain, setting);
    ASSERT_EQ(1, FormatPortSettingForStatusBar(padded, setting));
    const size_t n = std::strlen(plain.GetString());
    ASSERT_EQ(n + 39, std::strlen(padded.GetString()));
    EXPECT_EQ(0, std::strncmp(plain.GetString(), padded.GetString(), n));
    EXPECT_EQ(std::string(39, ' '), std::string(padded.GetString() + n));
}

TEST(PortSetting, ParityNamesAndUnknownCodes) {
    EXPECT_STREQ("Lichá (ODD)", GetParityName(1));
    EXPECT_STREQ("Značka (MARK)", GetParityName(3));
    EXPECT_STREQ("Mezera (SPACE)", GetParityName(4));
    EXPECT_STREQ("???", GetParityName(5));
    EXPECT_STREQ("???", GetParityName(-4)); // a closed port's result
    EXPECT_STREQ("???", GetParityName(255));
    // Taken as a byte: 256 is code 0.
    EXPECT_STREQ("Žádná (NO)", GetParityName(256));
}

TEST(PortSetting, OfferedRatesRunFrom110To3000000InOrder) {
    EXPECT_EQ(110, kBaudRates[0]);
    EXPECT_EQ(3000000, kBaudRates[kBaudRateCount - 1]);
    for (int i = 1; i < kBaudRateCount; i++)
        EXPECT_LT(kBaudRates[i - 1], kBaudRates[i]);
    EXPECT_STREQ("5", kByteSizeNames[0]);
    EXPECT_STREQ("8", kByteSizeNames[kByteSizeCount - 1]);
}
