// The platform's open and save dialogs through CMyFileDialog: result codes and the path.
#include "gui_harness_win32.h"

#include "codepage.h"
#include "filedialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class Owner : public guitest::TopWindow {
public:
    Owner() : TopWindow("OskelTestFileOwner", "Vlastník", nullptr) {}
};

// What the timer does once the common dialog is up.
enum class Action { Cancel, Confirm };
Action g_action = Action::Cancel;
std::wstring g_proposed;
std::wstring g_title;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t name[32];
    ::GetClassNameW(window, name, 32);
    if (std::wstring(name) == L"#32770" && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return; // not up yet: try again at the next tick
    ::KillTimer(nullptr, id);
    g_title = guitest::WindowText(dialog);
    wchar_t name[600] = {};
    // The name field is a combo box's edit (1148) or a plain edit (1152).
    if (!::GetDlgItemTextW(dialog, 1148, name, 600)) ::GetDlgItemTextW(dialog, 1152, name, 600);
    g_proposed = name;
    ::PostMessageW(dialog, WM_COMMAND, g_action == Action::Cancel ? IDCANCEL : IDOK, 0);
}

INT_PTR RunDriven(CMyFileDialog& dialog, Action action) {
    g_action = action;
    g_proposed.clear();
    g_title.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, &Drive);
    const INT_PTR result = dialog.Show(-1);
    ::KillTimer(nullptr, timer);
    return result;
}

// The artefacts folder as a Windows path, ending with a backslash.
std::string ArtefactsFolder() {
    std::string folder = std::string("Z:") + OSKEL_ARTIFACTS + "/";
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

TEST(FileDialog, CancelAndUnsupportedShows) {
    Owner owner;
    CMyFileDialog dialog(owner.GetSafeHandle(), 0, -1, nullptr);
    dialog.SetFilter("Modul files (*.mhx)\0*.mhx\0Všechny soubory\0*.*\0", 1);
    EXPECT_EQ(RunDriven(dialog, Action::Cancel), -5);
    EXPECT_EQ(g_title, L"Otev\u0159\u00edt soubor");
    EXPECT_EQ(dialog.Show(5), -5);
    EXPECT_EQ(dialog.ShowModelessDialog(SW_SHOW), -5);
}

TEST(FileDialog, OwnerFromTheParentOrNone) {
    CMyFileDialog orphan(nullptr, 1, -1, nullptr);
    EXPECT_EQ(orphan.ShowModalDialog(), -2);
    Owner owner;
    orphan.SetParent(owner.GetSafeHandle());
    EXPECT_EQ(RunDriven(orphan, Action::Cancel), -5);
}

TEST(FileDialog, SaveProposesTheGivenName) {
    Owner owner;
    CMyFileDialog empty(owner.GetSafeHandle(), 1, -1, nullptr);
    EXPECT_EQ(RunDriven(empty, Action::Cancel), -5);
    EXPECT_EQ(g_proposed, L"");
    EXPECT_EQ(g_title, L"Ulo\u017eit soubor");

    CMyFileDialog named(owner.GetSafeHandle(), 1, -1, nullptr);
    EXPECT_EQ(named.SetFileName("obrazovka_čtení.txt"), 1);
    EXPECT_EQ(RunDriven(named, Action::Cancel), -5);
    EXPECT_EQ(g_proposed, L"obrazovka_\u010dten\u00ed.txt");
    EXPECT_STREQ(named.GetFileName(), "obrazovka_čtení.txt"); // unchanged by a cancel

    EXPECT_EQ(named.SetFileName(std::string(521, 'a').c_str()), 0);
    EXPECT_EQ(named.SetFileName(std::string(520, 'a').c_str()), 1);
}

TEST(FileDialog, ConfirmedOpenGivesTheFullCp1250Path) {
    Owner owner;
    const std::string path = ArtefactsFolder() + "přenos_ěšč.mhx";
    // An open dialog wants an existing file; it is made through the wide call.
    std::wstring widePath;
    for (const char* p = path.c_str(); *p; ++p)
        widePath += static_cast<wchar_t>(OskelCp1250ToUnicode(static_cast<unsigned char>(*p)));
    HANDLE file =
        ::CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    CMyFileDialog dialog(owner.GetSafeHandle(), 0, -1, nullptr);
    ASSERT_EQ(dialog.SetFileName(path.c_str()), 1);
    dialog.SetFilter("Modul files (*.mhx)\0*.mhx\0", 1);
    dialog.SetDefaultExt("mhx");
    EXPECT_EQ(RunDriven(dialog, Action::Confirm), 1);
    EXPECT_STREQ(dialog.GetFileName(), path.c_str());
}

// The flags the common dialog is given, read by a hook at its start; then it is cancelled.
DWORD g_passedFlags = 0;

UINT_PTR CALLBACK RecordFlags(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return 0;
    g_passedFlags = reinterpret_cast<const OPENFILENAMEW*>(lParam)->Flags;
    ::PostMessageW(::GetParent(hook), WM_COMMAND, IDCANCEL, 0);
    return 0;
}

DWORD PassedFlags(HWND owner, int save) {
    g_passedFlags = 0;
    CMyFileDialog dialog(owner, save, -1, &RecordFlags);
    EXPECT_EQ(dialog.Show(-1), -5);
    return g_passedFlags;
}

// Saving must be able to name a new file: only the open dialog wants an existing one.
TEST(FileDialog, OnlyTheOpenDialogWantsAnExistingFile) {
    Owner owner;
    const DWORD open = PassedFlags(owner.GetSafeHandle(), 0);
    const DWORD save = PassedFlags(owner.GetSafeHandle(), 1);
    const DWORD shared =
        OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
    EXPECT_EQ(open, shared | OFN_FILEMUSTEXIST);
    EXPECT_EQ(save, shared);
}

} // namespace
