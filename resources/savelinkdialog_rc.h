// The options below the save dialog of the current shortcut.
#pragma once

#define IDD_SAVE_LINK_OPTIONS 1014

#define IDC_LINK_RESET 32841
#define IDC_LINK_NO_POWER_CYCLE 32842
#define IDC_LINK_LOADED_FILE 32843
#define IDC_LINK_NO_CONNECT_DIALOG 32844
#define IDC_LINK_PORT_SETTING 32845
#define IDC_LINK_HELP 32846
#define IDC_LINK_CHAT_MODE 32847
#define IDC_LINK_OPTIONS 32848

// The icon choice, as in the shortcut builder.
#define IDC_ICON_PREVIEW 32895
#define IDC_ICON_BACK 32896
#define IDC_ICON_ON 32897
#define IDC_ICON_NAME 32898
