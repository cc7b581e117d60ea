// The sample module file: every line a whole S-record with a correct checksum, each short
// enough to go out as one line of an upload.
#include "process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

int HexByte(const std::string& line, size_t at) {
    return static_cast<int>(std::strtol(line.substr(at, 2).c_str(), nullptr, 16));
}

TEST(DemoModuleFile, EveryLineIsARecordWithItsChecksum) {
    std::ifstream in(testing_support::FromLinux(TARLIN_SAMPLES_DIR "/demo.mhx"), std::ios::binary);
    ASSERT_TRUE(in.good());
    std::string line;
    int data = 0;
    int lines = 0;
    while (std::getline(in, line)) {
        ++lines;
        ASSERT_TRUE(line.empty() || line.back() != '\r') << "line " << lines << " ends in CR";
        ASSERT_GE(line.size(), 10u) << "line " << lines;
        ASSERT_LE(line.size(), 254u) << "line " << lines; // with its LF within 255
        ASSERT_EQ('S', line[0]);
        const int count = HexByte(line, 2);
        ASSERT_EQ(line.size(), 4u + 2u * count) << "line " << lines;
        int sum = 0;
        for (int k = 0; k <= count; ++k)
            sum += HexByte(line, 2 + 2 * k);
        EXPECT_EQ(0xFF, sum & 0xFF) << "checksum of line " << lines;
        data += line[1] == '1';
    }
    EXPECT_EQ(300, data);
    EXPECT_EQ(303, lines);
}

} // namespace
