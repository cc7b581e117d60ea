// Shortcut files written through the shell and read back: target, working folder, icon,
// arguments and description, for the current shortcut and for the builder.
#include "codepage.h"
#include "dataline.h"
#include "dialogdriver_win32.h"
#include "gui_harness_win32.h"
#include "offlinelinkdialog_rc.h"
#include "offlinelinkdialog_win32.h"
#include "savelinkdialog_rc.h"
#include "savelinkdialog_win32.h"
#include "shelllink_win32.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <string>

using guitest::CDialogDriver;

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    OskelCp1250ToWide(text.c_str(), reinterpret_cast<unsigned short*>(&wide[0]),
                      static_cast<int>(wide.size()));
    wide.resize(wide.find(L'\0'));
    return wide;
}

struct Link {
    std::wstring target, folder, arguments, description, iconFile;
    int icon = -1;
    std::string argumentsA; // through the narrow interface
};

Link ReadLink(const std::wstring& path) {
    Link link;
    ::CoInitialize(nullptr);
    IShellLinkW* shell = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, reinterpret_cast<void**>(&shell))) &&
        SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        wchar_t text[1024] = {};
        shell->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
        link.target = text;
        shell->GetWorkingDirectory(text, 1024);
        link.folder = text;
        shell->GetArguments(text, 1024);
        link.arguments = text;
        shell->GetDescription(text, 1024);
        link.description = text;
        shell->GetIconLocation(text, 1024, &link.icon);
        link.iconFile = text;
        IShellLinkA* narrow = nullptr;
        if (SUCCEEDED(shell->QueryInterface(IID_IShellLinkA, reinterpret_cast<void**>(&narrow)))) {
            char bytes[1024] = {};
            narrow->GetArguments(bytes, 1024);
            link.argumentsA = bytes;
            narrow->Release();
        }
    }
    if (file != nullptr) file->Release();
    if (shell != nullptr) shell->Release();
    ::CoUninitialize();
    return link;
}

std::wstring ProgramFile() {
    wchar_t module[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH + 1);
    return module;
}

class Owner : public CMyWindow {
public:
    Owner() : CMyWindow("ShortcutTestOwner") {
        RECT rect = {60, 60, 560, 460};
        Create("Tarlin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 0, &rect);
    }
};

class ShortcutTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(line.Ready()); }
    std::string InFolder(const std::string& name) { return line.folder + "\\" + name; }

    // The save dialog's answer: these boxes set, the others cleared, then the name.
    std::function<void(HWND)> SaveAs(const std::string& name, std::vector<int> checked) {
        return [this, name, checked](HWND dialog) {
            for (int id :
                 {IDC_LINK_LOADED_FILE, IDC_LINK_PORT_SETTING, IDC_LINK_NO_CONNECT_DIALOG,
                  IDC_LINK_NO_POWER_CYCLE, IDC_LINK_RESET, IDC_LINK_HELP, IDC_LINK_CHAT_MODE})
                ::SendMessageW(guitest::FindDescendant(dialog, id), BM_SETCHECK, BST_UNCHECKED, 0);
            for (int id : checked) {
                HWND box = guitest::FindDescendant(dialog, id);
                boxEnabled.push_back(::IsWindowEnabled(box) != FALSE);
                ::SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
            }
            if (picture) guitest::Screenshot("shortcut_save_dialog");
            guitest::ConfirmFileName(dialog, Wide(InFolder(name)));
        };
    }

    testing_support::CDataLine line;
    Owner owner;
    CSaveLinkDialog dialog;
    std::vector<bool> boxEnabled;
    bool picture = false;
};

TEST_F(ShortcutTest, CurrentShortcutWhileDisconnected) {
    line.data->ClosePort();
    CDialogDriver driver({{L"Ulo\u017eit soubor", SaveAs("odpojeno.lnk", {})},
                          {L" Tarlin ", CDialogDriver::Press(IDOK)}});
    EXPECT_EQ(CreateCurrentShortcut(owner.GetSafeHandle(), *line.data, dialog), kShortcutSaved);
    ASSERT_EQ(driver.Answered(), 2u);
    EXPECT_EQ(driver.Text(1),
              L"Z\u00e1stupce (.lnk) byl \u00fasp\u011b\u0161n\u011b vytvo\u0159en!");

    const Link link = ReadLink(Wide(InFolder("odpojeno.lnk")));
    EXPECT_EQ(link.target, ProgramFile());
    EXPECT_EQ(link.folder, Wide(line.data->GetPath()));
    EXPECT_EQ(link.iconFile, ProgramFile());
    EXPECT_EQ(link.icon, 0);
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(link.description, L"* Vantor * Tarlin *");
}

TEST_F(ShortcutTest, CurrentShortcutWithPortFileAndChatMode) {
    ASSERT_EQ(line.data->SetBaudRate(9600), 1);
    ASSERT_EQ(line.data->SetParity(0), 1);
    const std::string module = InFolder("moduly\\a\\b\\c\\modul čísla.mhx");
    for (const char* folder : {"moduly", "moduly\\a", "moduly\\a\\b", "moduly\\a\\b\\c"})
        ::CreateDirectoryW(Wide(InFolder(folder)).c_str(), nullptr);
    HANDLE file =
        ::CreateFileW(Wide(module).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    ASSERT_EQ(line.data->OpenModuleFile(module.c_str()), 1);

    dialog.GetIconChoice().On();
    dialog.GetIconChoice().On();
    picture = true;
    CDialogDriver driver({{L"Ulo\u017eit soubor",
                           SaveAs("COM a soubor.lnk", {IDC_LINK_LOADED_FILE, IDC_LINK_PORT_SETTING,
                                                       IDC_LINK_CHAT_MODE})},
                          {L" Tarlin ", CDialogDriver::Press(IDOK)}});
    EXPECT_EQ(CreateCurrentShortcut(owner.GetSafeHandle(), *line.data, dialog), kShortcutSaved);
    EXPECT_EQ(boxEnabled, (std::vector<bool>{true, true, true})) << "file and port can be used";

    const Link link = ReadLink(Wide(InFolder("COM a soubor.lnk")));
    const std::string port = line.data->GetPortName();
    EXPECT_EQ(link.arguments, Wide("-c " + port + " 9600 8 0  -f \"" + module + "\" -cm"));
    EXPECT_EQ(link.icon, 8) << "the third icon: Tarlin COM2";
    const std::string shortened =
        module.substr(0, module.find('\\', module.find('\\') + 1) + 1) + "...\\c\\modul čísla.mhx";
    EXPECT_EQ(link.description,
              Wide("* Vantor * Tarlin *\n\nPort: " + port +
                   "\nRychlost: 9600\nDat. bity: 8\nParita: Žádná (NO)\n\nSoubor: " + shortened));
}

TEST_F(ShortcutTest, AFileInUseAsksForAnotherName) {
    const std::wstring locked = Wide(InFolder("zamceno.lnk"));
    HANDLE file = ::CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CDialogDriver driver({{L"Ulo\u017eit soubor", SaveAs("zamceno.lnk", {})},
                          {L" Tarlin ", CDialogDriver::Press(IDOK)},
                          {L"Ulo\u017eit soubor", CDialogDriver::Press(IDCANCEL)}});
    EXPECT_EQ(CreateCurrentShortcut(owner.GetSafeHandle(), *line.data, dialog), 0);
    ::CloseHandle(file);
    ASSERT_EQ(driver.Answered(), 3u) << "the name was asked for again";
    EXPECT_NE(driver.Text(1).find(L"vybran\u00fd soubor je asi pou\u017e\u00edv\u00e1n"),
              std::wstring::npos);
}

TEST_F(ShortcutTest, OfferAfterAReplacementFile) {
    CDialogDriver declined(L" Tarlin ", CDialogDriver::Press(IDNO));
    EXPECT_EQ(OfferShortcutForNewFile(owner.GetSafeHandle(), *line.data, dialog), 0);
    EXPECT_EQ(declined.Text(),
              L"Chce\u0161 s t\u00edmto nov\u00fdm souborem vytvo\u0159it nov\u00fd odkaz?");
}

class BuilderTest : public ShortcutTest {
protected:
    // The builder's own caption is that of its warning box: the driver starts once the
    // builder is known and leaves it alone.
    void Answer(std::vector<CDialogDriver::Expected> expected) {
        driver = std::make_unique<CDialogDriver>(std::move(expected));
        driver->Ignore(builder);
    }

    HWND Item(unsigned id) { return ::GetDlgItem(builder, static_cast<int>(id)); }
    void Click(unsigned id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Select(unsigned id, int index) { ::SendMessageW(Item(id), CB_SETCURSEL, index, 0); }
    void Save() {
        ::PostMessageW(builder, WM_COMMAND, MAKEWPARAM(IDC_BUILDER_SAVE, BN_CLICKED), 0);
    }

    HWND builder = nullptr;
    CIconChoice icon;
    std::unique_ptr<CDialogDriver> driver;
};

TEST_F(BuilderTest, TwoShortcutsWithOneIcon) {
    bool backAtFirst = true, onAtLast = true;
    guitest::CStepPlayer steps(
        {[&] {
             builder = ::GetActiveWindow();
             Answer({{L"Tvorba z\u00e1stupc\u016f", CDialogDriver::Press(IDOK)},
                     {L"Ulo\u017eit soubor",
                      [&](HWND d) { guitest::ConfirmFileName(d, Wide(InFolder("b1.lnk"))); }},
                     {L" Tarlin ", CDialogDriver::Press(IDOK)},
                     {L"Ulo\u017eit soubor",
                      [&](HWND d) { guitest::ConfirmFileName(d, Wide(InFolder("b2.lnk"))); }},
                     {L" Tarlin ", CDialogDriver::Press(IDOK)}});
             backAtFirst = ::IsWindowEnabled(Item(IDC_ICON_BACK)) != FALSE;
             for (int i = 0; i < 40; ++i)
                 ::SendMessageW(builder, WM_COMMAND, IDC_ICON_ON, 0);
             onAtLast = ::IsWindowEnabled(Item(IDC_ICON_ON)) != FALSE;
             for (int i = 0; i < 30; ++i)
                 ::SendMessageW(builder, WM_COMMAND, IDC_ICON_BACK, 0);
             EXPECT_EQ(guitest::WindowText(Item(IDC_ICON_NAME)), L"Tarlin COM3");
             guitest::Screenshot("shortcut_builder");
             Click(IDC_BUILDER_THIS_FILE);
             Save(); // without a file: the warning
         },
         [] {},
         [&] {
             ::SetWindowTextW(Item(IDC_BUILDER_FILE), L"C:\\M\\A.MHX");
             Select(IDC_BUILDER_BAUD, 14);
             Select(IDC_BUILDER_DATA_BITS, 3);
             Select(IDC_BUILDER_PARITY, 2);
             Click(IDC_BUILDER_RESET);
             Save();
         },
         [] {}, [] {}, [] {},
         [&] {
             Click(IDC_BUILDER_NO_FILE);
             Click(IDC_BUILDER_CLOSE_WHEN_DONE);
             Click(IDC_BUILDER_ECHO);
             Click(IDC_BUILDER_HEX);
             Click(IDC_BUILDER_NO_SCROLL);
             Save();
         },
         [] {}, [] {}, [] {}, [&] { ::PostMessageW(builder, WM_COMMAND, IDC_BUILDER_CLOSE, 0); }},
        300);
    RunShortcutBuilder(owner.GetSafeHandle(), *line.data, icon);
    EXPECT_FALSE(backAtFirst);
    EXPECT_FALSE(onAtLast);
    ASSERT_TRUE(driver != nullptr);
    ASSERT_EQ(driver->Answered(), 5u);
    EXPECT_EQ(driver->Text(0),
              L"Nen\u00ed vybr\u00e1n nahr\u00e1van\u00fd soubor!\n\nK v\u00fdb\u011bru souboru "
              L"pou\u017eij tla\u010d\u00edtko '...'.\t");

    const Link first = ReadLink(Wide(InFolder("b1.lnk")));
    EXPECT_EQ(first.arguments, L"-c COM1 115200 8 2 -f \"C:\\M\\A.MHX\" -r -io a");
    EXPECT_EQ(first.argumentsA, "-c COM1 115200 8 2 -f \"C:\\M\\A.MHX\" -r -io a");
    EXPECT_EQ(first.description, L"* Vantor * Tarlin *\n\nPort: COM1\nRychlost: 115200\nDat. "
                                 L"bity: 8\nParita: Sud\u00e1 (EVEN)\n\nSoubor: C:\\M\\A.MHX");
    EXPECT_EQ(first.icon, 9);
    const Link second = ReadLink(Wide(InFolder("b2.lnk")));
    // RST stays checked (and disabled) from the first shortcut; without an upload it does nothing.
    EXPECT_EQ(second.arguments, L"-c COM1 115200 8 2 -w rx -r -io aohn");
    EXPECT_EQ(second.icon, 9) << "the icon is kept for the next shortcut";
    EXPECT_EQ(second.target, ProgramFile());
}

} // namespace
