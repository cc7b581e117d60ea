// The upload progress dialog's template and controls.
#ifndef LOADDIALOG_RC_H
#define LOADDIALOG_RC_H

#define IDD_UPLOAD_PROGRESS 1008
#define IDC_LOAD_PROGRESS 32785 // progress bar: lines sent
#define IDC_LOAD_NO_CONFIRMATION 32786
#define IDC_LOAD_FILE 32787
#define IDC_LOAD_FILE_LABEL 32788
#define IDC_LOAD_CANCEL 32789

#endif
