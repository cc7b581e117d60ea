// The About dialog's template and controls.
#ifndef ABOUTDIALOG_RC_H
#define ABOUTDIALOG_RC_H

#define IDD_ABOUT 1005
#define IDC_ABOUT_VERSION 32850
#define IDC_ABOUT_SYSTEMS 32851
#define IDC_ABOUT_PORTS 32852
#define IDC_ABOUT_LOGO 32853

#endif
