// The command line's operations at start that are not connecting: the help dialog, the
// "-io" letters, "-f", "-cm", "-t" and the closing letter x of "-w".
#include "mainview_win32.h"

#include "helpdialog_win32.h"
#include "tarlin_rc.h"
#include "tarlindata.h"

namespace {

const char kClosing[] =
    "Aplikace bude po úspěšném provedení všech operací zadaných z příkazové řádky ukončena.";

} // namespace

int CMainView::ContinueAfterCommandLineHelp() {
    CHelpDialog help(nullptr);
    help.Create("Nápověda k příkazové řádce", 0, nullptr, 0, IDI_TARLIN, IDI_TARLIN_SMALL, nullptr);
    return help.ShowModalDialog() == IDOK ? 1 : 0;
}

// Left to right, so the last of the letters that exclude each other wins.
void CMainView::ApplyIoModeSwitch(const char* letters) {
    if (m_data == nullptr || letters == nullptr) return;
    for (const char* c = letters; *c != 0; ++c) {
        switch (*c) {
        case 'a': m_data->SetHexOutput(0), m_data->SetES(kEscapeAnsi); break;
        case 'e': m_data->SetHexOutput(0), m_data->SetES(kEscapeMaker); break;
        case 'h': m_data->SetHexOutput(1), m_data->SetES(kEscapeNone); break;
        case 'x': m_data->SetHexOutput(0), m_data->SetES(kEscapeNone); break;
        case 'n': m_data->SetAutoScroll(0); break;
        case 'o': m_data->SetEcho(0); break;
        default: break;
        }
    }
}

bool CMainView::RunCommandLineOperations(int connectResult) {
    if (m_data->IsPresent(CTarlinCmdLine::kFile)) UploadCommandLineFile(connectResult);
    OpenChatAtStart();
    m_data->SendTextSwitch();
    if (!m_closeAtEnd) return true;
    MessageBoxA(kClosing, " Tarlin ", MB_OK | MB_ICONINFORMATION);
    return false;
}

// Without a module there is nothing to upload into: the terminal says so. A lone "-f"
// chooses the file in the file-open dialog.
void CMainView::UploadCommandLineFile(int connectResult) {
    CDynString path(m_data->GetParameter(CTarlinCmdLine::kFile, 1));
    if (connectResult == 0) {
        CDynString line;
        if (path.IsEmpty())
            line.InitBuffer("\n\r(Tarlin: soubor nebude nahrán)\n\r\n\r");
        else
            line.Format("\n\r(Tarlin: soubor [%s] nebude nahrán)\n\r\n\r", path.GetString());
        WriteBracketed(line.GetString());
        return;
    }
    if (ChooseUploadFile(path.IsEmpty() ? nullptr : path.GetString()) == 1) Upload(true);
}
