#include "application.h"

#include "mydata.h"
#include "nullsafe.h"
#include "pushbutton.h"

CMyApplication::CMyApplication() {
    InitApp();
}

CMyApplication::CMyApplication(void* instance) {
    InitApp();
    m_hInstance = instance;
}

CMyApplication::~CMyApplication() {
    if (CMyWindowObject::m_pApplication == this) CMyWindowObject::SetApplication(nullptr);
}

void CMyApplication::InitApp() {
    m_pMainWindow = nullptr;
    m_pData = nullptr;
    m_hInstance = nullptr;
    m_reserved1 = m_reserved2 = 0;
    CMyWindowObject::SetApplication(this);
}

CMyData* CMyApplication::InitData() {
    return nullptr;
}

int CMyApplication::Inicialization(void* instance) {
    if (instance != nullptr) m_hInstance = instance;
    if (m_hInstance == nullptr) return 0;
    m_pData = InitData();
    if (m_pData != nullptr && !m_pData->InitData()) {
        OutputDebugStringA("Nepodarilo se inicializovat datove slozky instanci tridy CMyData\n"
                           "nebo nejakeho jeho potomka!");
        return 0;
    }
    m_pMainWindow = InitWindow();
    if (m_pMainWindow == nullptr) {
        OutputDebugStringA("Pointer na instanci tridy CMyWindow je NULL\n");
        return 0;
    }
    return 1;
}

void* CMyApplication::GetSaveInstance() const {
    return oskel::IsNullObject(this) ? nullptr : m_hInstance;
}

CMyWindow* CMyApplication::GetSaveWindow() const {
    return oskel::IsNullObject(this) ? nullptr : m_pMainWindow;
}

CMyData* CMyApplication::GetSaveData() const {
    return oskel::IsNullObject(this) ? nullptr : m_pData;
}

int CMyApplication::ControlSubclass(void* instance) {
    if (instance == nullptr) return 0;
    oskel::StartButtonRestyling(instance);
    return 1;
}

int CMyApplication::ControlUnsubclass(void* instance) {
    if (instance == nullptr) return 0;
    oskel::StopButtonRestyling();
    return 1;
}
