#include "screensave_win32.h"

#include "filedialog.h"

bool AskScreenSaveFile(HWND owner, CDynString& path) {
    CMyFileDialog dialog(owner, 1, -1, nullptr);
    dialog.SetFilter("Text files\0*.txt\0All files\0*.*\0", 1);
    dialog.SetDefaultExt("txt");
    if (dialog.Show(-1) != 1) return false;
    return path.InitBuffer(dialog.GetFileName()) == 1;
}
