// Resource and command identifiers of tarlin.exe, shared by the resource scripts and the
// program. Plain preprocessor only: windres reads this file too.
#ifndef TARLIN_RC_H
#define TARLIN_RC_H

// --- Menus and accelerators -------------------------------------------------------------
#define IDR_CONTEXT_MENU 1500 // its first popup is the terminal's context menu
#define IDR_MAIN_MENU 1501
#define IDR_ACCELERATORS 1004

// --- Commands of the main window (menu, tool bar, accelerators) --------------------------
#define IDM_EXIT 1502               // "&Konec"
#define IDM_ABOUT 1503              // "&O programu...", Alt+? and Alt+/
#define IDM_OPEN_UPLOAD 1504        // "&Otevřít a nahrát..."
#define IDM_OPEN_UPLOAD_NONSTD 1505 // "&Otevřít a nahrát (nestandardní)..."
#define IDM_CONNECT 1506            // "Připojit..."
#define IDM_DISCONNECT 1507         // "Odpojit"
#define IDM_CURRENT_SHORTCUT 1508   // "Vytvoření aktuálního zástupce..."
#define IDM_CHAT_MODE 1509          // "Chat mode"
#define IDM_CONNECTION_INFO 1510    // "&Informace o připojení..."
#define IDM_HELP_CONTENTS 1512      // "Nápověda..."
#define IDM_TOOLBAR 1513            // "Tlačítková lišta"
#define IDM_STATUSBAR 1514          // "Stavový řádek"
#define IDM_RENEW 1515              // "Obnovit připojení"
#define IDM_ANSI_ES 1516            // "Podporovat ANSI escape sequences"
#define IDM_CLEAR_SCREEN 1517       // "Smazat obsah obrazovky"
#define IDM_HEX_OUTPUT 1518         // "Zobrazovat znaky v HEXa"
#define IDM_VANTOR_ES 1519          // "Podporovat Vantor escape sequence"
#define IDM_MANUAL_SIGNALS 1520     // "Manuální nastavení signálů"
#define IDM_UPLOAD_AGAIN 1521       // "Znovu nahrát", F9
#define IDM_SAVE 1522               // "Uložit"
#define IDM_SAVE_AS 1523            // "Uložit jako..."
#define IDM_PRINT 1524              // "Tisk..."
#define IDM_AUTO_SCROLL 1525        // "Automatické posouvání výpisu"
#define IDM_ECHO 1526               // "Zobrazovat odesílané znaky - ECHO"
#define IDM_SEND_FILE 1527          // "Odeslat na port obsah souboru"
#define IDM_SHORTCUT_BUILDER 1528   // "Tvorba zástupců..."
#define IDM_SEND_CLIPBOARD 1529     // "Odeslat na port obsah schránky"
#define IDM_RESET_COUNTERS 1530     // "Příjmuté i odeslané znaky"
#define IDM_RESET_RECEIVED 1531     // "Přijmuté znaky"
#define IDM_RESET_SENT 1532         // "Odeslané znaky"
#define IDM_CLEAR_CHAT_TEXTS 1533   // "Smazat texty v Chat modu"
#define IDM_KEEP_UPLOADING 1534     // "Opakovaně nahrávat", F10
#define IDM_UPLOAD_FILE 1535        // "Nahrát"
#define IDM_DISCONNECT_OPTIONS 1536 // "Možnosti..." (clearing the screen at disconnect)
#define IDM_CHAT_DOCKING 1020       // from the floating chat frame; code 1 when the move ends
#define IDM_REFRESH_COUNTERS 32791  // posted by the view every 120 ms

// --- Control ids of the bars ---------------------------------------------------------------
#define IDC_TARLIN_TOOLBAR 32790   // both button bars and the rebar bands
#define IDC_TARLIN_STATUSBAR 32791 // the same number as IDM_REFRESH_COUNTERS
#define IDC_TARLIN_REBAR 32792
#define IDC_BAUD_LIST 32793 // its selection change arrives as a command
#define IDC_DATA_BITS_LIST 32794
#define IDC_PARITY_LIST 32795

// --- Bitmaps ---------------------------------------------------------------------------------
// 17 images of 16 x 16 in one strip (272 x 16), 8-bit with a colour table so that the tool
// bar maps the system colours; silver 0xC0C0C0 is the transparent background. Image n
// belongs to button position n; positions 4, 8 and 13 are separators and stay empty.
#define IDB_TOOLBAR 1012
#define IDB_ABOUT_LOGO 1015 // 80 x 50, the web link in the About dialog
#define IDB_VIEW_LOGO 1054  // 160 x 82, centred behind the terminal text, white background

// --- Icons and cursor ------------------------------------------------------------------------
// Icon groups are numbered in resource order (ascending id) when a shortcut names an icon by
// its index in tarlin.exe: 1002 is index 0 and 1021 must be index 7, so exactly six groups
// lie between them.
#define IDI_TARLIN 1002       // large program icon (16, 32, 48)
#define IDI_TARLIN_SMALL 1003 // small program icon
#define IDI_POWER_CYCLE 1007  // module being switched off and on
#define IDI_UPLOAD 1008       // file going into a module
#define IDI_MODULE_FILE 1013  // a .mhx module file
#define IDI_HELP_BUTTON 1016  // help buttons of the dialogs
#define IDI_HELP_BUTTON_FOCUSED 1019
#define IDI_DISCONNECTED 1056 // status bar field 2
#define IDI_CONNECTED 1067
#define IDCUR_LINK_HAND 1017 // over the About dialog's logo

// Shortcut icons: "Tarlin COM1" ... "Tarlin COM8", then 25 module models; names and icon
// indices in shortcut_icons.h.
#define IDI_SHORTCUT_COM1 1021
#define IDI_SHORTCUT_COM8 1028
#define IDI_SHORTCUT_MODEL_FIRST 1029
#define IDI_SHORTCUT_MODEL_LAST 1053

// --- Help -------------------------------------------------------------------------------------
// The help pages lie next to tarlin.exe; a topic is opened as the file plus "#" and its anchor.
#define TARLIN_HELP_FILE "TarlinHelp.htm"
#define HELP_ANCHOR_CONTENTS "contents"
#define HELP_ANCHOR_TOPIC40 "topic40" // power cycle and port settings
#define HELP_ANCHOR_TOPIC60 "topic60" // chat mode
#define HELP_TOPIC_PORT_AND_POWER_CYCLE 40
#define HELP_TOPIC_CHAT 60

#endif
