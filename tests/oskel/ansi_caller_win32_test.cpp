// A program built without UNICODE sees the same library: the creation record the handlers get
// is always the wide one, so their exported signatures must not follow the caller's setting.
// This file is compiled without UNICODE (see CMakeLists.txt).
#include "gui_harness_win32.h"

#include "dialog.h"

#include <gtest/gtest.h>

#include <string>

#ifdef UNICODE
#error "this test must be built without UNICODE"
#endif

namespace {

class AnsiWindow : public CMyWindow {
public:
    AnsiWindow() : CMyWindow("OskelTestAnsiCaller") {}
    LRESULT OnCreate(CREATESTRUCTW* create) override {
        title = create->lpszName != nullptr ? create->lpszName : L"<null>";
        return CMyWindow::OnCreate(create);
    }
    LRESULT OnNCCreate(CREATESTRUCTW* create) override { return CMyWindow::OnNCCreate(create); }
    std::wstring title;
};

class AnsiDialog : public CMyDialog {
public:
    AnsiDialog() : CMyDialog(1) {}
    LRESULT OnCreate(CREATESTRUCTW* create) override { return CMyDialog::OnCreate(create); }
    LRESULT OnNCCreate(CREATESTRUCTW* create) override { return CMyDialog::OnNCCreate(create); }
};

TEST(AnsiCaller, CreationRecordIsWide) {
    AnsiWindow window;
    ASSERT_EQ(window.Create("Okno č. 1", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(window.title, L"Okno \u010d. 1");
    AnsiDialog dialog;
    EXPECT_EQ(dialog.OnNCCreate(nullptr), 1);
}

} // namespace
