// Module files that are not what a module file should be: 100 MB, a line of 100,000
// characters, CR alone as line end. Every byte still reaches the pieces the write thread
// sends, in order, and the line count matches what is read.
#include "fileio.h"
#include "myfile.h"
#include "process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class LargeFiles : public ::testing::Test {
protected:
    void SetUp() override { folder = testing_support::MakeTempFolder("tarlin-large"); }
    void TearDown() override { testing_support::RemoveTree(folder); }
    std::string Make(const std::string& name, const std::string& content, int times = 1) {
        const std::string path = folder + "/" + name;
        FILE* file = OpenSharedFile(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file == nullptr) return path;
        for (int i = 0; i < times; ++i)
            std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
        return path;
    }
    // The pieces of the whole file joined, and how many there were.
    static std::string ReadAll(CMyFile& file, int* pieces) {
        std::string all;
        *pieces = 0;
        while (file.ReadLine()) {
            all.append(file.GetLine(), static_cast<size_t>(file.GetLineLength()));
            ++*pieces;
        }
        return all;
    }
    std::string folder;
};

// 100 MB; 10 MB in the 32-bit build, whose suite runs emulated on some build machines.
TEST_F(LargeFiles, HundredMegabytes) {
    const std::string line = ":10000000" + std::string(30, 'A') + "\r\n"; // 41 bytes
    const int megabytes = sizeof(void*) == 4 ? 10 : 100;
    const int lines = megabytes * 1000 * 1000 / static_cast<int>(line.size()) + 1;
    CMyFile file;
    ASSERT_EQ(file.Open(Make("big.mhx", line, lines).c_str()), 1);
    EXPECT_EQ(file.CountLines(true), lines);
    int pieces = 0;
    size_t bytes = 0;
    bool same = true;
    while (file.ReadLine()) {
        ++pieces;
        bytes += static_cast<size_t>(file.GetLineLength());
        same = same && std::string(file.GetLine()) == ":10000000" + std::string(30, 'A') + "\n";
    }
    EXPECT_EQ(pieces, lines);
    EXPECT_EQ(bytes, static_cast<size_t>(lines) * (line.size() - 1));
    EXPECT_TRUE(same);
}

TEST_F(LargeFiles, LineOfHundredThousandCharacters) {
    std::string content;
    for (int i = 0; content.size() < 100000; ++i)
        content += std::to_string(i % 10);
    content += "\n:00000001FF\n";
    CMyFile file;
    ASSERT_EQ(file.Open(Make("long.mhx", content).c_str()), 1);
    const int expected = (100001 + 254) / 255 + 1; // 255-byte pieces, then the last line
    EXPECT_EQ(file.CountLines(true), expected);
    int pieces = 0;
    EXPECT_EQ(ReadAll(file, &pieces), content);
    EXPECT_EQ(pieces, expected);
}

// CR alone ends no line: the file is one line in 255-byte pieces, every byte kept.
TEST_F(LargeFiles, CarriageReturnsOnly) {
    std::string content;
    for (int i = 0; i < 100; ++i)
        content += ":10000000" + std::to_string(i) + "\r";
    CMyFile file;
    ASSERT_EQ(file.Open(Make("cr.mhx", content).c_str()), 1);
    int pieces = 0;
    EXPECT_EQ(ReadAll(file, &pieces), content);
    EXPECT_EQ(pieces, static_cast<int>((content.size() + 254) / 255));
    EXPECT_EQ(file.CountLines(true), pieces);
}

} // namespace
