// Saving the screen: "Uložit jako..." picks and empties the file, "Uložit" rewrites it.
#include "codepage.h"
#include "dataline.h"
#include "dialogdriver_win32.h"
#include "gui_harness_win32.h"
#include "screenfile_win32.h"

#include <gtest/gtest.h>

#include <string>

using guitest::CDialogDriver;

namespace {

class Owner : public CMyWindow {
public:
    Owner() : CMyWindow("ScreenFileTestOwner") {
        RECT rect = {60, 60, 560, 460};
        Create("Tarlin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 0, &rect);
    }
};

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    OskelCp1250ToWide(text.c_str(), reinterpret_cast<unsigned short*>(&wide[0]),
                      static_cast<int>(wide.size()));
    wide.resize(wide.find(L'\0'));
    return wide;
}

std::string Contents(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(none)";
    std::string bytes(1 << 20, '\0');
    DWORD read = 0;
    ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::string Line(const std::string& text) {
    return text + std::string(80 - text.size(), ' ') + "\n";
}

class ScreenFileTest : public ::testing::Test {
protected:
    void Put(const char* text) {
        for (const char* c = text; *c != 0; ++c)
            line.data->AddChar(static_cast<unsigned char>(*c));
    }
    std::function<void(HWND)> Name(const std::wstring& path) {
        return [path](HWND dialog) { guitest::ConfirmFileName(dialog, path); };
    }

    testing_support::CDataLine line;
    Owner owner;
};

TEST_F(ScreenFileTest, SaveAsThenSavesRewriteTheFile) {
    const std::wstring path = Wide(line.folder + "\\obrazovka č.txt");
    Put("abc\ndef");
    {
        CDialogDriver driver(L"Ulo\u017eit soubor", Name(path));
        EXPECT_TRUE(SaveScreenAs(owner.GetSafeHandle(), *line.data));
        EXPECT_TRUE(driver.Seen());
    }
    const std::string three = Line("abc") + Line("def") + Line("");
    EXPECT_EQ(Contents(path), three);
    EXPECT_EQ(three.size(), 243u);

    EXPECT_TRUE(SaveScreen(owner.GetSafeHandle(), *line.data));
    EXPECT_TRUE(SaveScreen(owner.GetSafeHandle(), *line.data));
    EXPECT_EQ(Contents(path).size(), 243u) << "saving again does not grow the file";
    line.data->ClearScreen();
    EXPECT_TRUE(SaveScreen(owner.GetSafeHandle(), *line.data));
    EXPECT_EQ(Contents(path), Line("")) << "the file is cut before each write";
}

TEST_F(ScreenFileTest, SaveWithoutAFileAsksForOne) {
    const std::wstring path = Wide(line.folder + "\\prvni.txt");
    Put("x");
    CDialogDriver driver(L"Ulo\u017eit soubor", Name(path));
    EXPECT_TRUE(SaveScreen(owner.GetSafeHandle(), *line.data));
    EXPECT_TRUE(driver.Seen());
    EXPECT_EQ(Contents(path), Line("x") + Line(""));
}

TEST_F(ScreenFileTest, AFileThatCannotBeMadeLeavesNoSaveFile) {
    // Another program holds the file and shares it with nobody.
    const std::wstring path = Wide(line.folder + "\\zamceno.txt");
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    Put("abc");
    CDialogDriver driver(L"Ulo\u017eit soubor", Name(path));
    EXPECT_FALSE(SaveScreenAs(owner.GetSafeHandle(), *line.data));
    EXPECT_FALSE(line.data->IsSaveFileOpen());
    ::CloseHandle(file);
    EXPECT_EQ(Contents(path), "") << "nothing was written";
}

} // namespace
