// Uploading module files and the command line's operations at start. The upload itself,
// the power-cycle dialog and the start-up operations other than connecting come with the
// loading dialogs; until then these commands do nothing.
#include "mainview_win32.h"

void CMainView::OpenAndUpload() {}

void CMainView::OpenAndUploadNonStandard() {}

void CMainView::UploadAgain() {}

void CMainView::KeepUploading() {}

void CMainView::UploadFile() {}

// The power-cycle dialog is not built yet: the step ends as letter "r" ends it, connected
// without a module.
int CMainView::RunPowerCycleDialog(bool) {
    return 0;
}

void CMainView::ApplyIoModeSwitch(const char*) {}

// The command-line help dialog is not built yet: start-up goes on as after "Pokračovat".
int CMainView::ContinueAfterCommandLineHelp() {
    return 1;
}

// "-f", "-cm", "-t" and the closing letter "x" of "-w" (noted in m_closeAtEnd) run here
// once they exist; until then start-up goes on.
bool CMainView::RunCommandLineOperations() {
    OpenChatAtStart();
    return true;
}
