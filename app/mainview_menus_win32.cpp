// The main window's menus, tool-bar tips and the patterns of enabled commands.
#include "mainview_win32.h"

#include "contentsend_win32.h"
#include "wide_win32.h"
#include "tarlin_rc.h"
#include "tarlindata.h"

namespace {

struct CommandText {
    unsigned int command;
    const char* text;
};

const char* const kTopTexts[] = {"&Soubor", "&Připojení", "Na&stavení", "&Zobrazit", "&Nápověda"};

const CommandText kMenuTexts[] = {
    {IDM_OPEN_UPLOAD, "&Otevřít a nahrát..."},
    {IDM_OPEN_UPLOAD_NONSTD, "&Otevřít a nahrát (nestandardní)..."},
    {IDM_UPLOAD_FILE, "Nahrát"},
    {IDM_UPLOAD_AGAIN, "Znovu nahrát\tF9"},
    {IDM_KEEP_UPLOADING, "Opakovaně nahrávat\tF10"},
    {IDM_SAVE, "Uložit"},
    {IDM_SAVE_AS, "Uložit jako..."},
    {IDM_SEND_CLIPBOARD, "Odeslat na port obsah schránky"},
    {IDM_SEND_FILE, "Odeslat na port obsah souboru"},
    {IDM_PRINT, "Tisk..."},
    {IDM_EXIT, "&Konec"},
    {IDM_CONNECTION_INFO, "&Informace o připojení..."},
    {IDM_RENEW, "Obnovit připojení"},
    {IDM_CONNECT, "Připojit..."},
    {IDM_DISCONNECT, "Odpojit"},
    {IDM_CHAT_MODE, "Chat mode"},
    {IDM_MANUAL_SIGNALS, "Manuální nastavení signálů"},
    {IDM_CURRENT_SHORTCUT, "Vytvoření aktuálního zástupce..."},
    {IDM_SHORTCUT_BUILDER, "Tvorba zástupců..."},
    {IDM_CLEAR_SCREEN, "Smazat obsah obrazovky"},
    {IDM_RESET_COUNTERS, "Příjmuté i odeslané znaky"},
    {IDM_RESET_RECEIVED, "Přijmuté znaky"},
    {IDM_RESET_SENT, "Odeslané znaky"},
    {IDM_AUTO_SCROLL, "Automatické posouvání výpisu"},
    {IDM_ECHO, "Zobrazovat odesílané znaky - ECHO"},
    {IDM_HEX_OUTPUT, "Zobrazovat znaky v HEXa"},
    {IDM_ANSI_ES, "Podporovat ANSI escape sequences"},
    {IDM_VANTOR_ES, "Podporovat Vantor escape sequence"},
    {IDM_TOOLBAR, "Tlačítková lišta"},
    {IDM_STATUSBAR, "Stavový řádek"},
    {IDM_ABOUT, "&O programu..."},
    {IDM_HELP_CONTENTS, "Nápověda..."},
};

// Which commands each connection state enables: the four columns are disconnected,
// connected without module, module ready, file uploaded.
struct PatternRow {
    unsigned int command;
    bool enabled[4];
};

const PatternRow kPatterns[] = {
    {IDM_CONNECT, {true, false, false, false}},
    {IDM_RENEW, {true, false, false, false}},
    {IDM_DISCONNECT, {false, true, true, true}},
    {IDM_OPEN_UPLOAD, {false, false, true, false}},
    {IDM_OPEN_UPLOAD_NONSTD, {false, true, true, true}},
    {IDM_UPLOAD_AGAIN, {false, false, false, true}},
    {IDM_KEEP_UPLOADING, {false, false, false, true}},
    {IDM_SEND_FILE, {false, true, true, true}},
    {IDM_SEND_CLIPBOARD, {false, true, true, true}},
    {IDM_CONNECTION_INFO, {false, true, true, true}},
    {IDM_CHAT_MODE, {false, true, true, true}},
    {IDM_MANUAL_SIGNALS, {false, true, true, true}},
};

int Column(CMainView::Pattern pattern) {
    switch (pattern) {
    case CMainView::Pattern::kDisconnected: return 0;
    case CMainView::Pattern::kNoModule: return 1;
    case CMainView::Pattern::kConnected: return 2;
    default: return 3;
    }
}

// Tips of the tool-bar buttons: while the menu item is grayed, and otherwise.
struct ButtonTip {
    unsigned int command;
    const char* grayed;
    const char* normal;
};

const ButtonTip kTips[] = {
    {IDM_OPEN_UPLOAD,
     "Otevření a nahrání souboru do modulu.\r\nVolba je přístupná pouze pokud se výzva na "
     "vypnutí a zapnutí modulu sama uzavře.",
     "Otevření a nahrání souboru do modulu."},
    {IDM_CONNECT, "Připojení k portu.\r\nVolba je přístupná po odpojení od portu.",
     "Připojení k portu"},
    {IDM_DISCONNECT, "Odpojení od portu.\r\nVolba je přístupná po připojení k portu.",
     "Odpojení od portu"},
    {IDM_CURRENT_SHORTCUT,
     "Vytvoření zástupce s aktuálním nastavením.\r\nVolba je přístupná po připojení k portu.",
     "Vytvoření zástupce s aktuálním nastavením"},
    {IDM_CHAT_MODE,
     "Otevření dialogu pro odesílání znaků a řetězců.\r\nVolba je přístupná po připojení k "
     "portu.",
     nullptr},
    {IDM_CONNECTION_INFO,
     "Informace o aktuálním připojení.\r\nVolba je přístupná po připojení "
     "k portu.",
     "Informace o aktuálním připojení"},
    {IDM_RENEW,
     "Obnovení připojení k portu (případně včetně parametrů příkazové řádky).\r\nVolba je "
     "přístupná po odpojení od portu.",
     "Obnovení připojení k portu (případně včetně parametrů příkazové řádky)"},
    {IDM_MANUAL_SIGNALS,
     "Otevření dialogu pro manuální řízení úrovní signálů.\r\nVolba je přístupná po připojení "
     "k portu.",
     "Otevření dialogu pro manuální řízení úrovní signálů"},
    {IDM_UPLOAD_AGAIN,
     "Opětovné nahrání souboru do modulu (včetně vypnutí a zapnutí modulu).\r\nVolba je "
     "přístupná pouze po předchozím nahráváním standardní cestou.",
     "Opětovné nahrání souboru do modulu (včetně vypnutí a zapnutí modulu)"},
    {IDM_KEEP_UPLOADING,
     "Opětovné nahrávání souboru do více modulů (včetně vypnutí a zapnutí modulu).\r\nVolba je "
     "přístupná pouze po předchozím nahráváním standardní cestou.",
     "Opětovné nahrávání souboru do více modulů (včetně vypnutí a zapnutí modulu)"},
    {IDM_CLEAR_SCREEN, "Smazání obsahu obrazovky (výpisu)", "Smazání obsahu obrazovky (výpisu)"},
    {IDM_SAVE, "Uložení obsahu obrazovky (výpisu) do textového souboru",
     "Uložení obsahu obrazovky (výpisu) do textového souboru"},
    {IDM_PRINT, "Vytištění obsahu obrazovky (výpisu) na tiskárně",
     "Vytištění obsahu obrazovky (výpisu) na tiskárně"},
    {IDM_UPLOAD_FILE, "Nahrání vybraného souboru do modulu (včetně vypnutí a zapnutí)",
     "Nahrání vybraného souboru do modulu (včetně vypnutí a zapnutí)"},
};

void SetItemText(HMENU menu, UINT item, BOOL byPosition, const char* text) {
    std::wstring wide = oskel::ToWide(text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = &wide[0];
    ::SetMenuItemInfoW(menu, item, byPosition, &info);
}

} // namespace

void CMainView::SetMenuTexts() {
    HMENU menu = GetMenu();
    if (menu == nullptr) return;
    for (UINT position = 0; position < sizeof kTopTexts / sizeof kTopTexts[0]; ++position)
        SetItemText(menu, position, TRUE, kTopTexts[position]);
    for (const CommandText& item : kMenuTexts)
        SetItemText(menu, item.command, FALSE, item.text);
    ::DrawMenuBar(m_hWnd);
}

void CMainView::SetInitialChecks() {
    CheckCommand(IDM_AUTO_SCROLL, m_data->GetAutoScroll() == 1);
    CheckCommand(IDM_ECHO, m_data->GetEcho() == 1);
    CheckCommand(IDM_TOOLBAR, m_toolbar.IsVisible() == 1);
    CheckCommand(IDM_STATUSBAR, m_statusbar.IsVisible() == 1);
    CheckEscapeModes();
}

void CMainView::EnableCommand(unsigned int command, bool enable) {
    EnableMenuItem(command, enable ? 1 : 0);
    m_toolbar.EnableButton(command, enable);
}

void CMainView::CheckCommand(unsigned int command, bool check) {
    CheckMenuItem(command, check ? 1 : 0);
}

bool CMainView::IsCommandGrayed(unsigned int command) {
    HMENU menu = GetMenu();
    if (menu == nullptr) return false;
    const UINT state = ::GetMenuState(menu, command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) != 0;
}

void CMainView::SetPattern(Pattern pattern) {
    const int column = Column(pattern);
    for (const PatternRow& row : kPatterns)
        EnableCommand(row.command, row.enabled[column]);
}

void CMainView::UpdateClipboardCommand() {
    EnableMenuItem(IDM_SEND_CLIPBOARD, IsClipboardTextAvailable(m_hWnd) ? 1 : 0);
}

void CMainView::ShowContextMenu(HWND target, int x, int y) {
    HMENU resource = LoadMenuA(IDR_CONTEXT_MENU);
    HMENU menu = resource != nullptr ? ::GetSubMenu(resource, 0) : nullptr;
    if (menu == nullptr) {
        if (resource != nullptr) ::DestroyMenu(resource);
        return;
    }
    const bool hex = m_data != nullptr && m_data->GetHexOutput() == 1;
    const int mode = m_data != nullptr ? m_data->GetES() : 0;
    auto check = [menu](UINT id, bool on) {
        ::CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    };
    auto enable = [menu](UINT id, bool on) {
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(IDM_SEND_CLIPBOARD, IsClipboardTextAvailable(m_hWnd));
    check(IDM_HEX_OUTPUT, hex);
    check(IDM_ANSI_ES, !hex && mode == kEscapeAnsi);
    check(IDM_VANTOR_ES, !hex && mode == kEscapeMaker);
    enable(IDM_ANSI_ES, !hex);
    enable(IDM_VANTOR_ES, !hex);
    check(IDM_CHAT_MODE, m_data != nullptr && m_data->GetChatMode() == 1);
    check(IDM_AUTO_SCROLL, m_data != nullptr && m_data->GetAutoScroll() == 1);
    check(IDM_ECHO, m_data != nullptr && m_data->GetEcho() == 1);
    if (x == -1 && y == -1) {
        POINT cursor;
        ::GetCursorPos(&cursor);
        x = cursor.x;
        y = cursor.y;
    }
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0,
                     target != nullptr ? target : m_hWnd, nullptr);
    ::DestroyMenu(resource);
}

const char* CMainView::ToolTipText(unsigned int command) {
    for (const ButtonTip& tip : kTips) {
        if (tip.command != command) continue;
        if (IsCommandGrayed(command)) return tip.grayed;
        if (command == IDM_CHAT_MODE)
            return m_data != nullptr && m_data->GetChatMode() == 1
                       ? "Uzavření dialogu pro odesílání znaků a řetězců"
                       : "Otevření dialogu pro odesílání znaků a řetězců";
        return tip.normal;
    }
    return nullptr;
}

LRESULT CMainView::AnswerToolTip(NMHDR* header) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    const char* text = ToolTipText(static_cast<unsigned int>(header->idFrom));
    const std::wstring wide = oskel::ToWide(text != nullptr ? text : "");
    const size_t length = wide.size() < 511 ? wide.size() : 511;
    wide.copy(m_tipText, length);
    m_tipText[length] = L'\0';
    info->lpszText = m_tipText;
    // A text given by address goes with no instance: with one, it would be read as the
    // number of a string resource.
    info->hinst = nullptr;
    return 0;
}
