// The options for clearing the screen at disconnecting.
#ifndef CLEAROPTIONS_RC_H
#define CLEAROPTIONS_RC_H

#define IDD_CLEAR_OPTIONS 1201
#define IDC_CLEAR_OPTIONS_TEXT 32923
#define IDC_CLEAR_OPTION_ALWAYS 32920
#define IDC_CLEAR_OPTION_ASK 32921
#define IDC_CLEAR_OPTION_NEVER 32922

#endif
