// Resource ids of the library's GUI test program.
#pragma once

#define IDD_ITEMS 100
#define IDD_COLORED 101
#define IDD_CZECH 102
#define IDM_TEST 200
#define IDI_MAIN 300
#define IDI_HOT 301

#define IDC_PUSH 1001
#define IDC_CHECK 1002
#define IDC_RADIO 1003
#define IDC_EDIT 1004
#define IDC_LABEL 1005
#define IDC_DISABLED 1006
#define IDC_ICON_BUTTON 1007
#define IDC_GROUP 1008
#define IDC_LIST 1009

#define IDM_OPEN 1501
