// The power-cycle dialog's template and controls.
#ifndef STARTDIALOG_RC_H
#define STARTDIALOG_RC_H

#define IDD_POWER_CYCLE 1007
#define IDC_START_HEADLINE 32822    // created at initialisation
#define IDC_START_SLOW_HINT 32823   // below the visible area until the dialog grows
#define IDC_START_CANCEL 32824      // "Storno"
#define IDC_START_SKIP 32825        // "Přeskočit"
#define IDC_START_HELP 32826        // icon button
#define IDC_START_BACK 32827        // "Zpět k nastavení portu"
#define IDC_START_RECEIVED_LABEL 32828
#define IDC_START_RECEIVED 32829
#define IDC_START_STATE_LABEL 32830
#define IDC_START_STATE 32831       // created at initialisation
#define IDC_START_FILE 32832        // created at initialisation
#define IDC_START_SKIP_HINT 32833
#define IDC_START_FILE_LABEL 32834
#define IDC_START_STATUSBAR 32835   // created at initialisation

#endif
