#include "screenfile_win32.h"

#include "screensave_win32.h"
#include "tarlindata.h"

namespace {

// The read thread keeps writing into the buffer: the file gets one consistent picture.
bool WriteScreen(CTarlinData& data) {
    CStdBufferHold hold(data.GetBuffer());
    return data.WriteScreenToSaveFile();
}

} // namespace

bool SaveScreen(HWND owner, CTarlinData& data) {
    if (!data.IsSaveFileOpen()) return SaveScreenAs(owner, data);
    return WriteScreen(data);
}

bool SaveScreenAs(HWND owner, CTarlinData& data) {
    CDynString path;
    if (!AskScreenSaveFile(owner, path)) return false;
    return data.CreateSaveFile(path.GetString()) && WriteScreen(data);
}
