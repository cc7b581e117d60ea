// The command-line help dialog's template and controls.
#ifndef HELPDIALOG_RC_H
#define HELPDIALOG_RC_H

#define IDD_COMMAND_LINE_HELP 1011
#define IDC_HELP_VSCROLL 32820
#define IDC_HELP_HSCROLL 32821

#endif
