// Start folder, user name and program file name of the running process.
#pragma once

#include "cmdline.h"

class OSKEL_API CMyData : public CMyObject {
public:
    CMyData();
    ~CMyData() override;

    int InitData();
    const char* GetPath() const { return m_path.GetString(); }
    const char* GetUserNameA() const { return m_userName.GetString(); }
    const char* GetAppFileName() const { return m_appFileName.GetString(); }
    int SaveAppFileName();
    int AlternativePath();

    static void SetInstanceDLL(void* instance);
    static void* GetInstanceDLL();

    static void* m_hOskelInstanceDLL;

private:
    int TakeProgramParameter();

    CDynString m_path;
    CDynString m_userName;
    CDynString m_appFileName;
    CCmdLine m_commandLine;
};
