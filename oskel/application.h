// The one application object of the process: module instance, data object and main window.
#pragma once

#include "window.h"

class OSKEL_API CMyApplication : public CMyObject {
public:
    CMyApplication();
    explicit CMyApplication(void* instance);
    ~CMyApplication() override;
    CMyApplication(const CMyApplication&) = delete;
    CMyApplication& operator=(const CMyApplication&) = delete;

    virtual int CreateMainWindow() = 0;
    virtual CMyData* InitData();
    virtual CMyWindow* InitWindow() = 0;

    void InitApp();
    int Inicialization(void* instance);
    void* GetSaveInstance() const;
    CMyWindow* GetSaveWindow() const;
    CMyData* GetSaveData() const;
    // Push-button restyling for the whole process, on and off.
    int ControlSubclass(void* instance);
    int ControlUnsubclass(void* instance);

protected:
    CMyWindow* m_pMainWindow;
    CMyData* m_pData;
    void* m_hInstance;
    unsigned long m_reserved1;
    unsigned long m_reserved2;
};
