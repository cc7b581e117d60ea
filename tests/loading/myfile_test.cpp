#include "fileio.h"
#include "myfile.h"
#include "process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class MyFileTest : public ::testing::Test {
protected:
    void SetUp() override { folder = testing_support::MakeTempFolder("tarlin-file"); }
    void TearDown() override { testing_support::RemoveTree(folder); }
    // Paths are cp1250; this source is compiled to cp1250 too.
    std::string Make(const std::string& name, const std::string& content) {
        const std::string path = folder + "/" + name;
        FILE* file = OpenSharedFile(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file != nullptr) {
            std::fwrite(content.data(), 1, content.size(), file);
            std::fclose(file);
        }
        return path;
    }
    std::string folder;
};

TEST_F(MyFileTest, ReadsLinesInPiecesOf255) {
    const std::string content = ":1000\n" + std::string(600, 'a') + "\n" + std::string(255, 'b') +
                                "\n\nlast without line feed";
    CMyFile file;
    std::string name = "modul žluťoučký.mhx";
#ifdef _WIN32
    // Wine without a UTF-8 locale on the host cannot name files outside ASCII.
    if (FILE* probe = OpenSharedFile((folder + "/" + name).c_str(), "wb"))
        std::fclose(probe);
    else
        name = "modul.mhx";
#endif
    ASSERT_EQ(file.Open(Make(name, content).c_str()), 1);
    EXPECT_EQ(std::string(file.GetFileName()), folder + "/" + name);
    ASSERT_EQ(file.ReadLine(), 1); // the count leaves the position where it was
    EXPECT_STREQ(file.GetLine(), ":1000\n");
    EXPECT_EQ(file.CountLines(true), 8); // 1 + 3 pieces + 2 pieces + blank + last
    ASSERT_EQ(file.ReadLine(), 1);
    EXPECT_EQ(std::string(file.GetLine()), std::string(255, 'a'));
    std::vector<std::string> rest;
    while (file.ReadLine())
        rest.push_back(file.GetLine());
    EXPECT_FALSE(file.IsLineValid());
    ASSERT_EQ(rest.size(), 6u);
    EXPECT_EQ(rest[1], std::string(90, 'a') + "\n");
    EXPECT_EQ(rest[2], std::string(255, 'b'));
    EXPECT_EQ(rest[3], "\n");
    EXPECT_EQ(rest[5], "last without line feed");
    ASSERT_TRUE(file.Rewind()); // a second upload starts again at the top
    ASSERT_EQ(file.ReadLine(), 1);
    EXPECT_STREQ(file.GetLine(), ":1000\n");
    EXPECT_EQ(file.CountLines(false), 8);
    EXPECT_EQ(file.ReadLine(), 0);
}

// A text stream would end the file at 0x1A and a line at NUL: the module would get a short
// file reported as sent. Every byte is read, and CR LF still ends a line as "\n".
TEST_F(MyFileTest, EveryByteIsReadAndCrLfEndsALineAsLineFeed) {
    const std::string content = std::string(":10\x1a\x00"
                                            "AB\r\n",
                                            9) +
                                "lone\rCR\r\n" + std::string("\x1a\x1a\n", 3) + "unix\n" + "last\r";
    CMyFile file;
    ASSERT_EQ(file.Open(Make("binary.mhx", content).c_str()), 1);
    EXPECT_EQ(file.CountLines(true), 5);
    std::vector<std::string> lines;
    while (file.ReadLine())
        lines.emplace_back(file.GetLine(), static_cast<size_t>(file.GetLineLength()));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::string(":10\x1a\x00"
                                    "AB\n",
                                    8));
    EXPECT_EQ(lines[1], "lone\rCR\n");
    EXPECT_EQ(lines[2], std::string("\x1a\x1a\n", 3));
    EXPECT_EQ(lines[3], "unix\n");
    EXPECT_EQ(lines[4], "last\r");
    // A CR LF split by the 255-character piece is still one line feed.
    const std::string piece = std::string(254, 'p') + "\r\n" + "next\n";
    ASSERT_EQ(file.Open(Make("piece.mhx", piece).c_str()), 1);
    EXPECT_EQ(file.CountLines(true), 2);
    ASSERT_EQ(file.ReadLine(), 1);
    EXPECT_EQ(file.GetLineLength(), 255);
    EXPECT_EQ(std::string(file.GetLine()), std::string(254, 'p') + "\n");
    // A binary mode takes the bytes as they are.
    ASSERT_EQ(file.Open(Make("raw.mhx", "a\r\nb\n").c_str(), "rb"), 1);
    ASSERT_EQ(file.ReadLine(), 1);
    EXPECT_STREQ(file.GetLine(), "a\r\n");
}

TEST_F(MyFileTest, OpenFailuresAndClose) {
    CMyFile file;
    EXPECT_EQ(file.CountLines(true), -1);
    EXPECT_EQ(file.ReadLine(), 0);
    EXPECT_EQ(file.Open((folder + "/missing.mhx").c_str()), 0);
    EXPECT_STREQ(file.GetFileName(), "");
    EXPECT_EQ(file.Open(nullptr), 0);
    EXPECT_EQ(file.Open(("/" + std::string(400, 'x')).c_str()), 0);
    ASSERT_EQ(file.Open(Make("empty.mhx", "").c_str()), 1);
    EXPECT_EQ(file.CountLines(true), 0);
    EXPECT_EQ(file.ReadLine(), 0);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_STREQ(file.GetFileName(), "");
}

TEST_F(MyFileTest, SharedAndTruncated) {
    const std::string path = Make("screen.txt", "old content that is long\n");
    FILE* writer = OpenSharedFile(path.c_str(), "r+b");
    ASSERT_NE(writer, nullptr);
    CMyFile reader; // another open of the same file is not locked out
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    ASSERT_TRUE(TruncateOpenFile(writer));
    std::fputs("new\n", writer);
    std::fflush(writer);
    EXPECT_EQ(reader.CountLines(true), 1);
    ASSERT_EQ(reader.ReadLine(), 1);
    EXPECT_STREQ(reader.GetLine(), "new\n");
    std::fclose(writer);
}

} // namespace
