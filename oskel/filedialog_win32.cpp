#include "filedialog.h"

#include "codepage.h"
#include "wide_win32.h"

#include <cstring>
#include <string>

namespace {

const DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;

} // namespace

CMyFileDialog::CMyFileDialog(void* owner, int save, int templateId, LPOFNHOOKPROC hook)
    : CMyDialog(static_cast<unsigned int>(templateId), reinterpret_cast<DLGPROC>(hook), owner),
      m_record(), m_fileName(), m_save(save), m_filter(nullptr), m_defaultExt(nullptr) {
    HWND window = static_cast<HWND>(owner);
    m_record.lStructSize = sizeof m_record;
    m_record.hwndOwner = window;
    m_record.hInstance =
        window != nullptr ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE))
                          : nullptr;
    m_record.nMaxFile = kFileNameSize;
    m_record.lpfnHook = hook;
    m_record.lpTemplateName = templateId != -1 ? MAKEINTRESOURCEW(templateId) : nullptr;
    // Saving names new files, so only opening wants an existing one.
    m_record.Flags = kDialogFlags | (save ? 0 : OFN_FILEMUSTEXIST);
    if (templateId != -1) m_record.Flags |= OFN_ENABLETEMPLATE;
    if (hook != nullptr) m_record.Flags |= OFN_ENABLEHOOK;
}

CMyFileDialog::~CMyFileDialog() = default;

void CMyFileDialog::SetFilter(const char* filter, int index) {
    m_filter = filter;
    m_record.nFilterIndex = static_cast<DWORD>(index);
}

int CMyFileDialog::SetFileName(const char* name) {
    if (name == nullptr || std::strlen(name) >= kFileNameSize) return 0;
    std::strcpy(m_fileName, name);
    return 1;
}

void CMyFileDialog::SetDefaultExt(const char* ext) {
    m_defaultExt = ext;
}

INT_PTR CMyFileDialog::ShowModalDialog() {
    if (m_record.hwndOwner == nullptr) m_record.hwndOwner = m_hParent;
    if (m_record.hwndOwner == nullptr) return -2;
    m_record.hInstance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_record.hwndOwner, GWLP_HINSTANCE));
    if (m_record.hInstance == nullptr) return -3;

    // The record points at wide copies that live for the call only.
    const std::wstring filter = oskel::ToWideList(m_filter);
    const std::wstring ext = oskel::ToWide(m_defaultExt);
    const std::wstring title = oskel::ToWide(m_save ? "Uložit soubor" : "Otevřít soubor");
    wchar_t file[kFileNameSize];
    oskel::ToWide(m_fileName, file, kFileNameSize);
    m_record.lpstrFilter = m_filter != nullptr ? filter.c_str() : nullptr;
    m_record.lpstrDefExt = m_defaultExt != nullptr ? ext.c_str() : nullptr;
    m_record.lpstrTitle = title.c_str();
    m_record.lpstrFile = file;

    const BOOL confirmed = m_save ? ::GetSaveFileNameW(&m_record) : ::GetOpenFileNameW(&m_record);
    m_record.lpstrFilter = m_record.lpstrDefExt = m_record.lpstrTitle = nullptr;
    m_record.lpstrFile = nullptr;
    if (!confirmed) return -5;
    oskel::ToCp1250(file, m_fileName, kFileNameSize);
    return 1;
}

int CMyFileDialog::ShowModelessDialog(int) {
    return -5;
}

INT_PTR CMyFileDialog::ShowModalDialogFromInstance(void*) {
    return -5;
}
