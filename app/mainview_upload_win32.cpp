// Uploading module files: the upload commands, choosing the file, the power-cycle step of
// connecting, and the upload with its progress dialog.
#include "mainview_win32.h"

#include "filedialog.h"
#include "loaddialog_win32.h"
#include "sentmessagewait_win32.h"
#include "startdialog_win32.h"
#include "tarlin_rc.h"
#include "tarlindata.h"

namespace {

const char kFileFilter[] = "Modul files\0*.mhx\0All files\0*.*\0";
const char kVersionFile[] = "version.ini";
// Between one module's upload and the next power cycle of "keep uploading".
const uint32_t kNextModulePauseMs = 1000;

} // namespace

// --- Commands ------------------------------------------------------------------------------

void CMainView::OpenAndUpload() {
    ChooseAndUpload();
}

// The same choice and upload; only the commands' enabling differs (no module needed).
void CMainView::OpenAndUploadNonStandard() {
    ChooseAndUpload();
}

void CMainView::ChooseAndUpload() {
    if (m_data == nullptr) return;
    const bool chat = m_data->GetChatMode() == 1;
    if (chat) ToggleChatMode();
    if (ChooseUploadFile(nullptr) == 1) Upload(false);
    if (chat) ToggleChatMode();
}

// After a result of 0 or less the read thread shows received data again.
void CMainView::UploadAgain() {
    if (m_data == nullptr) return;
    if (ConnectAndIdentify(true, false, "c", false) >= 1)
        Upload(false);
    else
        ResumeReadThread();
}

void CMainView::KeepUploading() {
    if (m_data == nullptr) return;
    while (ConnectAndIdentify(true, false, "c", false) >= 1) {
        Upload(false);
        PauseAnsweringSentMessages(kNextModulePauseMs);
    }
    ResumeReadThread();
}

void CMainView::UploadFile() {
    if (m_data == nullptr) return;
    if (m_data->IsPortOpen() == 1) {
        if (ConnectAndIdentify(true, false, "c", true) >= 1)
            SendMessageA(WM_COMMAND, IDM_OPEN_UPLOAD, 0);
        else
            ResumeReadThread();
        return;
    }
    const int result = ConnectAndIdentify(true, false, "", true);
    AfterConnecting(result);
    if (result >= 1) SendMessageA(WM_COMMAND, IDM_OPEN_UPLOAD, 0);
}

int CMainView::RunPowerCycleDialog(CStartDialog& dialog, bool fileFollows) {
    dialog.Prepare(m_data, fileFollows);
    dialog.OpenVersionFile(m_data->GetPath(), kVersionFile);
    return static_cast<int>(dialog.ShowModalDialog());
}

// --- Choosing the file ---------------------------------------------------------------------

int CMainView::ChooseUploadFile(const char* path) {
    if (m_data == nullptr) return 0;
    CDynString tried;
    if (path == nullptr) {
        CMyFileDialog dialog(m_hWnd, 0, -1, nullptr);
        dialog.SetFilter(kFileFilter, 1);
        dialog.SetDefaultExt("mhx");
        if (dialog.ShowModalDialog() != 1) return 0;
        tried.InitBuffer(dialog.GetFileName());
    } else {
        tried.InitBuffer(path);
    }
    if (m_data->OpenModuleFile(tried.GetString(), "rt") == 1) return 1;
    if (!AskToFindFile(tried.GetString()) || ChooseUploadFile(nullptr) != 1) return 0;
    OfferShortcutForNewFile();
    return 1;
}

bool CMainView::AskToFindFile(const char* path) {
    CDynString question;
    question.Format("Nepodařilo se otevřít zvolený soubor:\n\n[%s].\n\nChceš ho najít sám?", path);
    return MessageBoxA(question.GetString(), " Tarlin ", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// --- The upload ----------------------------------------------------------------------------

void CMainView::Upload(bool withoutOwner) {
    if (m_data == nullptr) return;
    HWND owner = withoutOwner ? nullptr : m_hWnd;
    CLoadDialog dialog(owner);
    dialog.Create("Průběh nahrávání", 0, owner, 0, IDI_TARLIN, IDI_TARLIN_SMALL, nullptr);
    SuspendReadThread();
    dialog.SetPort(&m_data->GetPort());
    dialog.SetFile(&m_data->GetModuleFile());
    if (m_data->SendText("HEXDWL\n\r") != 1) {
        MessageBoxA("Chyba při zápisu příkazu pro nahrání souboru.", " Tarlin ", MB_OK);
        ResumeReadThread();
        SetFocus();
        return;
    }
    ScrollViewToCursor();
    const INT_PTR result = dialog.ShowModalDialog();
    m_lastProgress[0] = dialog.GetFinalPosition();
    m_lastProgress[1] = dialog.GetProgressLimit();
    ResumeReadThread();
    if (result == CLoadDialog::kUploaded) {
        AfterUpload();
    } else {
        m_data->ResetPort();
        m_data->ResetPort();
    }
    SetFocus();
}

void CMainView::AfterUpload() {
    if (m_data->IsPresent(CTarlinCmdLine::kReset)) {
        m_data->SendText("RST\r");
        ScrollViewToCursor();
    }
    EnableCommand(IDM_OPEN_UPLOAD, false);
    EnableCommand(IDM_UPLOAD_AGAIN, true);
    EnableCommand(IDM_KEEP_UPLOADING, true);
    ++m_uploadCount;
    CDynString line;
    line.Format("\n\r(Tarlin: soubor [%s] byl úspěšně nahrán [%d])\n\r\n\r",
                m_data->GetModuleFileName(), m_uploadCount);
    WriteBracketed(line.GetString());
}

void CMainView::WriteBracketed(const char* text) {
    CStdBuffer& buffer = m_data->GetBuffer();
    {
        CStdBufferHold hold(buffer);
        for (const char* c = text; *c != 0; ++c) {
            if (*c == ']') buffer.SetAttribute(CStdBuffer::kDefaultAttribute);
            buffer.PutChar(static_cast<unsigned char>(*c), true, 0);
            if (*c == '[') buffer.SetAttribute(CStdBuffer::kAnnounceAttribute);
        }
    }
    ScrollViewToCursor();
}
