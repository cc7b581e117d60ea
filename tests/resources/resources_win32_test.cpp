// The resources compiled into tarlin.exe, read from the built program as a data file, and
// the help pages shipped next to it.
#include "process.h"
#include "shortcut_icons.h"
#include "tarlin_rc.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const int kPopup = -1;     // a submenu; its items follow until kEnd
const int kEnd = -2;       // end of a submenu
const int kSeparator = -3; // separator line

struct MenuLine {
    int id;
    std::wstring text;
    bool operator==(const MenuLine& other) const { return id == other.id && text == other.text; }
};

std::ostream& operator<<(std::ostream& out, const MenuLine& line) {
    out << line.id << " \"";
    for (wchar_t c : line.text) {
        if (c < 128)
            out << static_cast<char>(c);
        else
            out << "\\u" << std::hex << static_cast<int>(c) << std::dec;
    }
    return out << "\"";
}

class TarlinResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string path = testing_support::OwnFolder() + "tarlin.exe";
        module = LoadLibraryExA(path.c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() {
        if (module) FreeLibrary(module);
        module = nullptr;
    }
    void SetUp() override { ASSERT_NE(nullptr, module) << "tarlin.exe lies next to the test"; }

    static void Flatten(HMENU menu, std::vector<MenuLine>& out) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 127;
            ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
            if (info.fType & MFT_SEPARATOR) {
                out.push_back({kSeparator, L""});
            } else if (info.hSubMenu) {
                out.push_back({kPopup, text});
                Flatten(info.hSubMenu, out);
                out.push_back({kEnd, L""});
            } else {
                out.push_back({static_cast<int>(info.wID), text});
            }
        }
    }
    static std::vector<MenuLine> MenuOf(int id) {
        std::vector<MenuLine> lines;
        HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(id));
        if (menu) Flatten(menu, lines);
        DestroyMenu(menu);
        return lines;
    }
    static SIZE BitmapSize(int id) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP info{};
        if (bitmap) GetObjectW(bitmap, sizeof info, &info);
        DeleteObject(bitmap);
        return {info.bmWidth, info.bmHeight};
    }
    static std::string Raw(LPCWSTR type, int id) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        if (!found) return std::string();
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }

    static HMODULE module;
};

HMODULE TarlinResources::module = nullptr;

TEST_F(TarlinResources, MainMenuHasEveryItemInCzech) {
    const std::vector<MenuLine> expected = {
        {kPopup, L"&Soubor"},
        {1504, L"&Otev\u0159\u00edt a nahr\u00e1t..."},
        {1505, L"&Otev\u0159\u00edt a nahr\u00e1t (nestandardn\u00ed)..."},
        {kSeparator, L""},
        {1535, L"Nahr\u00e1t"},
        {1521, L"Znovu nahr\u00e1t\tF9"},
        {1534, L"Opakovan\u011b nahr\u00e1vat\tF10"},
        {kSeparator, L""},
        {1522, L"Ulo\u017eit"},
        {1523, L"Ulo\u017eit jako..."},
        {kSeparator, L""},
        {kPopup, L"Import"},
        {1529, L"Odeslat na port obsah schr\u00e1nky"},
        {1527, L"Odeslat na port obsah souboru"},
        {kEnd, L""},
        {kSeparator, L""},
        {1524, L"Tisk..."},
        {kSeparator, L""},
        {1502, L"&Konec"},
        {kEnd, L""},
        {kPopup, L"&P\u0159ipojen\u00ed"},
        {1510, L"&Informace o p\u0159ipojen\u00ed..."},
        {kSeparator, L""},
        {1515, L"Obnovit p\u0159ipojen\u00ed"},
        {1506, L"P\u0159ipojit..."},
        {1507, L"Odpojit"},
        {kSeparator, L""},
        {1509, L"Chat mode"},
        {1520, L"Manu\u00e1ln\u00ed nastaven\u00ed sign\u00e1l\u016f"},
        {kEnd, L""},
        {kPopup, L"Na&staven\u00ed"},
        {1508, L"Vytvo\u0159en\u00ed aktu\u00e1ln\u00edho z\u00e1stupce..."},
        {1528, L"Tvorba z\u00e1stupc\u016f..."},
        {kSeparator, L""},
        {1517, L"Smazat obsah obrazovky"},
        {1533, L"Smazat texty v Chat modu"},
        {kPopup, L"Vynulovat po\u010d\u00edtadla znak\u016f"},
        {1530, L"P\u0159\u00edjmut\u00e9 i odeslan\u00e9 znaky"},
        {1531, L"P\u0159ijmut\u00e9 znaky"},
        {1532, L"Odeslan\u00e9 znaky"},
        {kEnd, L""},
        {1525, L"Automatick\u00e9 posouv\u00e1n\u00ed v\u00fdpisu"},
        {kSeparator, L""},
        {1526, L"Zobrazovat odes\u00edlan\u00e9 znaky - ECHO"},
        {1518, L"Zobrazovat znaky v HEXa"},
        {1516, L"Podporovat ANSI escape sequences"},
        {1519, L"Podporovat Vantor escape sequence"},
        {kSeparator, L""},
        {1536, L"Mo\u017enosti..."},
        {kEnd, L""},
        {kPopup, L"&Zobrazit"},
        {1513, L"Tla\u010d\u00edtkov\u00e1 li\u0161ta"},
        {1514, L"Stavov\u00fd \u0159\u00e1dek"},
        {kEnd, L""},
        {kPopup, L"&N\u00e1pov\u011bda"},
        {1503, L"&O programu..."},
        {kSeparator, L""},
        {1512, L"N\u00e1pov\u011bda..."},
        {kEnd, L""},
    };
    EXPECT_EQ(expected, MenuOf(IDR_MAIN_MENU));
}

TEST_F(TarlinResources, ContextMenuIsTheFirstPopup) {
    const std::vector<MenuLine> expected = {
        {kPopup, L"Termin\u00e1l"},
        {1529, L"Vlo\u017eit (odeslat na port)"},
        {kSeparator, L""},
        {1517, L"Smazat obsah obrazovky"},
        {1525, L"Automatick\u00e9 posouv\u00e1n\u00ed v\u00fdpisu"},
        {kSeparator, L""},
        {1526, L"Zobrazovat odes\u00edlan\u00e9 znaky - ECHO"},
        {1518, L"Zobrazovat znaky v HEXa"},
        {1516, L"Podporovat ASCII ANSI E.S."},
        {1519, L"Podporovat Vantor E.S."},
        {kSeparator, L""},
        {1509, L"Chat mode"},
        {kEnd, L""},
    };
    EXPECT_EQ(expected, MenuOf(IDR_CONTEXT_MENU));
}

TEST_F(TarlinResources, AcceleratorsOpenAboutAndUploadAgain) {
    HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(nullptr, table);
    ACCEL keys[8] = {};
    const int count = CopyAcceleratorTableW(table, keys, 8);
    ASSERT_EQ(4, count);
    const BYTE kinds = FVIRTKEY | FALT | FSHIFT | FCONTROL;
    // Alt with the characters "?" and "/" (not virtual keys: any keyboard layout).
    EXPECT_EQ(FALT, keys[0].fVirt & kinds);
    EXPECT_EQ('?', keys[0].key);
    EXPECT_EQ(IDM_ABOUT, keys[0].cmd);
    EXPECT_EQ(FALT, keys[1].fVirt & kinds);
    EXPECT_EQ('/', keys[1].key);
    EXPECT_EQ(IDM_ABOUT, keys[1].cmd);
    EXPECT_EQ(FVIRTKEY, keys[2].fVirt & kinds);
    EXPECT_EQ(VK_F9, keys[2].key);
    EXPECT_EQ(IDM_UPLOAD_AGAIN, keys[2].cmd);
    EXPECT_EQ(FVIRTKEY, keys[3].fVirt & kinds);
    EXPECT_EQ(VK_F10, keys[3].key);
    EXPECT_EQ(IDM_KEEP_UPLOADING, keys[3].cmd);
}

TEST_F(TarlinResources, BitmapsHaveTheirSizes) {
    SIZE strip = BitmapSize(IDB_TOOLBAR);
    EXPECT_EQ(272, strip.cx);
    EXPECT_EQ(16, strip.cy);
    SIZE view = BitmapSize(IDB_VIEW_LOGO);
    EXPECT_EQ(160, view.cx);
    EXPECT_EQ(82, view.cy);
    SIZE about = BitmapSize(IDB_ABOUT_LOGO);
    EXPECT_EQ(80, about.cx);
    EXPECT_EQ(50, about.cy);
}

// The tool bar maps system colours only through a colour table, and makes silver transparent.
TEST_F(TarlinResources, ToolBarStripHasAColourTableWithSilverBackground) {
    const std::string raw = Raw(MAKEINTRESOURCEW(2) /* RT_BITMAP */, IDB_TOOLBAR);
    ASSERT_GE(raw.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    memcpy(&header, raw.data(), sizeof header);
    ASSERT_EQ(8, header.biBitCount);
    const int colours = header.biClrUsed ? static_cast<int>(header.biClrUsed) : 256;
    const auto* table = reinterpret_cast<const RGBQUAD*>(raw.data() + header.biSize);
    // Rows are stored bottom up: the top-left pixel starts the last row.
    const int stride = (header.biWidth + 3) & ~3;
    const size_t topLeft =
        header.biSize + colours * sizeof(RGBQUAD) + stride * (header.biHeight - 1);
    ASSERT_LT(topLeft, raw.size());
    const RGBQUAD corner = table[static_cast<unsigned char>(raw[topLeft])];
    EXPECT_EQ(192, corner.rgbRed);
    EXPECT_EQ(192, corner.rgbGreen);
    EXPECT_EQ(192, corner.rgbBlue);
}

std::vector<int> IconIds() {
    std::vector<int> ids = {
        IDI_TARLIN,      IDI_TARLIN_SMALL,        IDI_POWER_CYCLE,  IDI_UPLOAD,   IDI_MODULE_FILE,
        IDI_HELP_BUTTON, IDI_HELP_BUTTON_FOCUSED, IDI_DISCONNECTED, IDI_CONNECTED};
    for (int id = IDI_SHORTCUT_COM1; id <= IDI_SHORTCUT_MODEL_LAST; ++id)
        ids.push_back(id);
    return ids;
}

TEST_F(TarlinResources, EveryIconHasDrawn16And32PixelImages) {
    for (int id : IconIds()) {
        for (int size : {16, 32}) {
            // The group must hold the size itself, not a scaled neighbour.
            const std::string group = Raw(MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, id);
            ASSERT_FALSE(group.empty()) << id;
            const int found = LookupIconIdFromDirectoryEx(
                reinterpret_cast<PBYTE>(const_cast<char*>(group.data())), TRUE, size, size,
                LR_DEFAULTCOLOR);
            const std::string image = Raw(MAKEINTRESOURCEW(3) /* RT_ICON */, found);
            ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << id;
            BITMAPINFOHEADER header;
            memcpy(&header, image.data(), sizeof header);
            EXPECT_EQ(size, header.biWidth) << "icon " << id;
            EXPECT_EQ(32, header.biBitCount) << "icon " << id;

            HICON icon = static_cast<HICON>(
                LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            EXPECT_NE(nullptr, icon) << "icon " << id << " at " << size;
            DestroyIcon(icon);
        }
    }
}

TEST_F(TarlinResources, ProgramIconHasA48PixelImage) {
    const std::string group = Raw(MAKEINTRESOURCEW(14), IDI_TARLIN);
    ASSERT_GE(group.size(), 6u);
    bool has48 = false;
    for (size_t at = 6; at + 14 <= group.size(); at += 14)
        has48 = has48 || static_cast<unsigned char>(group[at]) == 48;
    EXPECT_TRUE(has48);
}

BOOL CALLBACK CollectGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(ids)->push_back(
            static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// A shortcut names its icon by position among the program's icon groups.
TEST_F(TarlinResources, ShortcutIconIndicesNameThePreviewIcons) {
    std::vector<int> groups;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(14), CollectGroup,
                       reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_EQ(IconIds().size(), groups.size());
    for (const ShortcutIcon& entry : kShortcutIcons) {
        ASSERT_LT(entry.iconIndex, static_cast<int>(groups.size())) << entry.name;
        EXPECT_EQ(entry.resourceId, groups[entry.iconIndex]) << entry.name;
    }
    EXPECT_EQ(7, kShortcutIcons[1].iconIndex);
    EXPECT_EQ(39, kShortcutIcons[kShortcutIconCount - 1].iconIndex);
}

TEST_F(TarlinResources, LinkCursorPointsWithItsFingertip) {
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadImageW(module, MAKEINTRESOURCEW(IDCUR_LINK_HAND), IMAGE_CURSOR, 32, 32, 0));
    ASSERT_NE(nullptr, cursor);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(11u, info.xHotspot);
    EXPECT_EQ(1u, info.yHotspot);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
}

TEST_F(TarlinResources, VersionAndManifest) {
    const std::wstring path = [] {
        const std::string narrow = testing_support::OwnFolder() + "tarlin.exe";
        return std::wstring(narrow.begin(), narrow.end());
    }();
    std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    wchar_t* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040504E2\\FileDescription",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(L"Nahr\u00e1v\u00e1n\u00ed software do modul\u016f, v\u00fdm\u011bna "
                           L"dat, komunikace, nastaven\u00ed a termin\u00e1l"),
              std::wstring(text));

    const std::string manifest = Raw(MAKEINTRESOURCEW(24) /* RT_MANIFEST */, 1);
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, manifest.find("version=\"6.0.0.0\""));
}

std::string ReadShipped(const char* name) {
    std::ifstream in(testing_support::OwnFolder() + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every anchor the program opens exists, and every link inside the pages has its target.
TEST(ShippedHelp, AnchorsAndLinksResolve) {
    const std::string page = ReadShipped(TARLIN_HELP_FILE);
    ASSERT_FALSE(page.empty()) << TARLIN_HELP_FILE " lies next to tarlin.exe";
    EXPECT_NE(std::string::npos, page.find("<meta charset=\"utf-8\">"));
    for (const char* anchor : {HELP_ANCHOR_CONTENTS, HELP_ANCHOR_TOPIC40, HELP_ANCHOR_TOPIC60})
        EXPECT_NE(std::string::npos, page.find(std::string("id=\"") + anchor + "\"")) << anchor;
    for (size_t at = page.find("href=\"#"); at != std::string::npos;
         at = page.find("href=\"#", at + 1)) {
        const size_t start = at + 7;
        const std::string target = page.substr(start, page.find('"', start) - start);
        EXPECT_NE(std::string::npos, page.find("id=\"" + target + "\"")) << "#" << target;
    }
}

} // namespace
