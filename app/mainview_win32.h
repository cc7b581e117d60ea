// The program's frame window: owns the terminal view, the bars and the read thread, turns
// every command into an action and keeps menus and buttons in step with the connection.
// The command families live in files of their own (mainview_*_win32.cpp).
#pragma once

#include "chatdialog_win32.h"
#include "readnotifywindow_win32.h"
#include "readthread.h"
#include "savelinkdialog_win32.h"
#include "screenprinter_win32.h"
#include "tarlinsendingdata.h"
#include "tarlinstatusbar_win32.h"
#include "tarlintoolbar_win32.h"
#include "tarlinview_win32.h"
#include "terminalconsumer.h"
#include "window.h"

#include <memory>

class CStartDialog;
class CTarlinData;

class CMainView : public CMyWindow {
public:
    // Connection states as patterns of enabled commands.
    enum class Pattern { kDisconnected, kConnected, kNoModule, kUploaded };

    CMainView();
    ~CMainView() override;

    void SetData(CTarlinData* data);
    CTarlinData* GetData() const { return m_data; }
    void InitWorkText();
    CDynString& GetWorkText() { return m_workText; }

    LRESULT OnChar(char c, unsigned long data) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnContextMenu(void* window, int x, int y) override;
    LRESULT OnCreate(CREATESTRUCTW* create) override;
    LRESULT OnDestroy() override;
    LRESULT OnEraseBkgnd(void* dc) override;
    LRESULT OnHelp(HELPINFO* help) override;
    LRESULT OnHScroll(unsigned short code, unsigned short pos, void* control) override;
    LRESULT OnKeyUp(WPARAM key, LPARAM data) override;
    LRESULT OnMenuSelect(unsigned int item, unsigned int flags, void* menu) override;
    LRESULT OnMouseWheel(unsigned short keys, int delta, int x, int y) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint(void* dc) override;
    LRESULT OnPrint(void* dc, LPARAM flags) override;
    LRESULT OnSize(WPARAM type, unsigned short width, unsigned short height) override;
    LRESULT OnSizing(WPARAM edge, LPARAM rect) override;
    LRESULT OnVScroll(unsigned short code, unsigned short pos, void* control) override;

    // Connection (mainview_connection_win32.cpp).
    void Connect();
    void Renew();
    void Disconnect(bool ask);
    // Status, pattern and read thread after a connect or renew ended with result.
    void AfterConnecting(int result);
    void RefreshStatus(bool announce);
    void SetPattern(Pattern pattern);
    void ShowConnected();
    void ShowDisconnected();
    // Letters "c" and "r" and the command line's port switch; the result as the procedure's.
    int ConnectAndIdentify(bool useCommandLine, bool withoutOwner, const char* letters,
                           bool fileFollows);
    // Writes a "(Tarlin: ...)" line into the terminal in the attribute and shows the cursor.
    void Announce(const char* text, unsigned char attribute);
    void ScrollViewToCursor();
    void ResumeReadThread();
    void SuspendReadThread();

    // Sending and chat (mainview_sending_win32.cpp).
    void ToggleChatMode();
    // "-cm", or chat mode left open at the last end of the program.
    void OpenChatAtStart();
    // The chat dialog's window while chat mode is open; the message loop offers it messages.
    HWND GetChatWindow() const;
    // The height the docked chat dialog takes below the view; 0 when it is not docked.
    int DockedChatHeight() const;
    void PlaceDockedChat();

    // A module file that could not be opened was replaced by another: offers a shortcut.
    void OfferShortcutForNewFile();

    // The command line's "-io" letters (mainview_commandline_win32.cpp, with the other
    // start-up operations of the command line).
    void ApplyIoModeSwitch(const char* letters);

    // Uploading (mainview_upload_win32.cpp). 1 when a module file is open; path null: the
    // file-open dialog.
    int ChooseUploadFile(const char* path);
    // The whole upload of the open module file into a module at its prompt; the outcome
    // goes into the terminal.
    void Upload(bool withoutOwner);
    int GetUploadCount() const { return m_uploadCount; }

    CTarlinStatusbar& GetStatusbar() { return m_statusbar; }
    CTarlinToolbar& GetToolbar() { return m_toolbar; }
    CTarlinView& GetView() { return m_view; }

private:
    // Creation and destruction steps.
    bool CreateBars();
    bool CreateView();
    LRESULT RefuseCreation();
    void StartReadThread();
    void StopReadThread();
    void RestorePosition();
    void SavePosition();
    void ShowInitialStatus();
    void Layout();
    int ContinueAfterCommandLineHelp();
    // "-f", "-cm", "-t" and the closing letter x of "-w" after the start-up connection ended
    // with connectResult; false when the main window is not to be made.
    bool RunCommandLineOperations(int connectResult);
    void UploadCommandLineFile(int connectResult);

    // Menus, tips and patterns (mainview_menus_win32.cpp).
    void SetMenuTexts();
    void SetInitialChecks();
    void EnableCommand(unsigned int command, bool enable);
    void CheckCommand(unsigned int command, bool check);
    bool IsCommandGrayed(unsigned int command);
    void UpdateClipboardCommand();
    void ShowContextMenu(HWND target, int x, int y);
    const char* ToolTipText(unsigned int command);
    LRESULT AnswerToolTip(NMHDR* header);

    // Command handlers, one per command (the families' files).
    void Exit();
    void ShowAbout();
    void ShowConnectionInfo();
    void ShowHelpContents();
    void ToggleToolbar();
    void ToggleStatusbar();
    void ToggleAnsi();
    void ToggleVantor();
    void ToggleHexOutput();
    void ToggleAutoScroll();
    void ToggleEcho();
    void ClearScreen();
    void ResetCounters();
    void ResetReceivedCounter();
    void ResetSentCounter();
    void ShowDisconnectOptions();
    void RefreshCounters();
    void ChangePortSetting(unsigned int list, unsigned int notification);
    void CheckEscapeModes();
    void DecideAboutScreen(bool ask);
    void ClearChatTexts();
    LRESULT AnswerTestProbe(LPARAM requester);

    // Commands of the upload family (mainview_upload_win32.cpp).
    void OpenAndUpload();
    void OpenAndUploadNonStandard();
    void UploadAgain();
    void KeepUploading();
    void UploadFile();
    void ChooseAndUpload();
    int RunPowerCycleDialog(CStartDialog& dialog, bool fileFollows);
    void ModuleReady(int versionIndex);
    void AfterUpload();
    bool AskToFindFile(const char* path);
    // Writes text into the terminal, the parts between "[" and "]" in the announcement
    // colour.
    void WriteBracketed(const char* text);

    // Commands of the files and sending families (mainview_files_win32.cpp,
    // mainview_sending_win32.cpp).
    void SaveScreen();
    void SaveScreenAs();
    void PrintScreen();
    void SendFileContent();
    void SendClipboard();
    void CreateCurrentShortcut();
    void ShowShortcutBuilder();
    void ShowManualSignals();
    void ClearChatHistory();
    void DockChat(WPARAM wParam);
    void PrepareChat();
    void OpenChat();

    CReadThread m_readThread;
    CTarlinData* m_data = nullptr;
    CTarlinView m_view;
    CTarlinToolbar m_toolbar;
    CTarlinStatusbar m_statusbar;
    CChatDialog m_chat;
    CSaveLinkDialog m_shortcutDialog;
    CDynString m_workText;
    CDynString m_secondWorkText;
    int m_created = 0;
    int m_uploadCount = 0;
    // The last upload's progress bar as it closed: its position and upper limit.
    int m_lastProgress[2] = {0, 0};
    std::unique_ptr<CTerminalConsumer> m_consumer;
    std::unique_ptr<CReadNotifyWindow> m_notify;
    bool m_readThreadStopped = false;
    bool m_closeAtEnd = false;
    wchar_t m_tipText[512] = {};
    // What the chat line and the senders reach the data object through.
    CTarlinSendingData m_sendingData;
    // The screen is printed in this font, shared like the terminal's.
    CPrintFont m_printFont;
};
