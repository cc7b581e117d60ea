// Sending a file's content and the clipboard's text over a real null-modem.
#include "codepage.h"
#include "contentsend_win32.h"
#include "dialogdriver_win32.h"
#include "gui_harness_win32.h"
#include "process.h"
#include "dataline.h"
#include "sendinghost_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace sendingtest;
using testing_support::Collect;

namespace {

// Passes every write on to the data object and notes the size of each.
class CCountingData : public CTarlinSendingData {
public:
    explicit CCountingData(CTarlinData* data) : CTarlinSendingData(data) {}
    int SendData(const char* data, int count) override {
        writes.push_back(count);
        return CTarlinSendingData::SendData(data, count);
    }
    std::vector<int> writes;
};

void PutOnClipboard(HWND owner, const std::wstring& text) {
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    if (!text.empty()) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        auto* copy = static_cast<wchar_t*>(::GlobalLock(memory));
        std::copy(text.begin(), text.end(), copy);
        copy[text.size()] = 0;
        ::GlobalUnlock(memory);
        ::SetClipboardData(CF_UNICODETEXT, memory);
    }
    ::CloseClipboard();
}

// Files are named in cp1250, as the program names them.
void WriteBytes(const std::string& path, const std::string& content) {
    std::wstring wide(path.size() + 1, L'\0');
    OskelCp1250ToWide(path.c_str(), reinterpret_cast<unsigned short*>(&wide[0]),
                      static_cast<int>(wide.size()));
    HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, content.size());
}

class ContentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(line.Ready()); }
    std::string WindowsPath(const std::string& name) { return line.folder + "\\" + name; }
    testing_support::CDataLine line;
    CHostWindow host;
    CCountingData counting{line.data.get()};
};

TEST_F(ContentTest, FileWithNulBytesArrivesWholeInChunks) {
    std::string content;
    for (int i = 0; i < 1000; ++i)
        content += static_cast<char>(i % 7 == 0 ? 0 : 'a' + i % 26);
    const std::string path = WindowsPath("obsah souboru ěšč.bin");
    WriteBytes(path, content);

    EXPECT_EQ(SendFileContentOf(host.GetSafeHandle(), path.c_str(), counting, kContentChunk), 1000);
    EXPECT_EQ(Collect(line.peer, 1000, 5000), content);
    EXPECT_EQ(counting.writes, (std::vector<int>{522, 478}));
    EXPECT_EQ(host.cursorRequests, 1);
    EXPECT_GT(line.data->GetBuffer().GetUsedLines(), 0) << "echoed";
}

TEST_F(ContentTest, EmptyAndMissingFiles) {
    const std::string empty = WindowsPath("prazdny.txt");
    WriteBytes(empty, "");
    EXPECT_EQ(SendFileContentOf(host.GetSafeHandle(), empty.c_str(), counting, kContentChunk), 0);
    EXPECT_TRUE(counting.writes.empty());
    EXPECT_EQ(host.cursorRequests, 1) << "an empty file still scrolls";

    const std::string missing = WindowsPath("není tu.mhx");
    guitest::CDialogDriver box(L" Tarlin ", guitest::CDialogDriver::Press(IDOK));
    EXPECT_EQ(SendFileContentOf(host.GetSafeHandle(), missing.c_str(), counting, kContentChunk),
              kContentCannotOpen);
    EXPECT_TRUE(box.Seen());
    EXPECT_NE(box.Text().find(L"nen\u00ed tu.mhx se nepoda\u0159ilo otev\u0159\u00edt!"),
              std::wstring::npos);
    EXPECT_EQ(Collect(line.peer, 1, 300), "");
}

TEST_F(ContentTest, ClipboardTextUpToItsFirstNul) {
    PutOnClipboard(host.GetSafeHandle(), L"");
    EXPECT_FALSE(IsClipboardTextAvailable(host.GetSafeHandle()));
    EXPECT_EQ(SendClipboardText(host.GetSafeHandle(), counting), 0);

    const wchar_t text[] = L"P\u0159\u00edli\u0161 ABC\0zbytek";
    PutOnClipboard(host.GetSafeHandle(), std::wstring(text, sizeof text / sizeof *text - 1));
    EXPECT_TRUE(IsClipboardTextAvailable(host.GetSafeHandle()));
    EXPECT_EQ(SendClipboardText(host.GetSafeHandle(), counting), 1);
    EXPECT_EQ(Collect(line.peer, 20, 1500), "P\xF8\xEDli\x9A ABC");
}

} // namespace
