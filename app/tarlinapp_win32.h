// The application object: holds the main window and the data object for the whole run,
// runs the start-up checks, the message loop and the shut-down in their fixed order.
#pragma once

#include "application.h"
#include "mainview_win32.h"
#include "tarlindata.h"

class CTarlinApp : public CMyApplication {
public:
    // Exit codes besides the quit message's own.
    enum : int { kExitFilesMissing = -1, kExitNoMainWindow = -2 };

    explicit CTarlinApp(void* instance);
    ~CTarlinApp() override;

    int CreateMainWindow() override;
    CMyData* InitData() override;
    CMyWindow* InitWindow() override;

    // The whole run: start-up checks, main window, message loop. Returns the exit code.
    int Run(const char* arguments);

private:
    void ApplyCommandLine(const char* arguments);
    bool FindProgramFiles();
    int MessageLoop();

    CMainView m_mainView;
    CTarlinData m_data;
};
