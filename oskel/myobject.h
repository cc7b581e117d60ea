// Root class of the library, the resource holder and the start-up no-op.
#pragma once

#include "oskel_api.h"

class OSKEL_API CMyObject {
public:
    CMyObject() = default;
    virtual ~CMyObject();

    // Diagnostic channel of the library: every failure path reports here. It keeps nothing.
    static void OutputDebugStringA(const char* text);
};

class OSKEL_API CMyResourceObject : public CMyObject {
public:
    explicit CMyResourceObject(void* instance = nullptr);
    ~CMyResourceObject() override;

    void SetResourceInstance(void* instance);
    void* GetResourceInstance() const;

private:
    void* m_resourceInstance;
};

// Called once, first thing at start, so the loader binds the library early.
extern "C" OSKEL_API void dummy();
