// The chat line dialog.
#pragma once

#define IDD_CHAT 1009

#define IDC_CHAT_SEND 32800
#define IDC_CHAT_TEXT 32801
#define IDC_CHAT_CR 32802
#define IDC_CHAT_LF 32803
#define IDC_CHAT_ESCAPES 32804
#define IDC_CHAT_CLOSE 32805
#define IDC_CHAT_HEX 32806
