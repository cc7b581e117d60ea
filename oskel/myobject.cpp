#include "myobject.h"

CMyObject::~CMyObject() = default;

void CMyObject::OutputDebugStringA(const char* /*text*/) {}

CMyResourceObject::CMyResourceObject(void* instance) : m_resourceInstance(instance) {}

CMyResourceObject::~CMyResourceObject() = default;

void CMyResourceObject::SetResourceInstance(void* instance) {
    m_resourceInstance = instance;
}

void* CMyResourceObject::GetResourceInstance() const {
    return m_resourceInstance;
}

extern "C" void dummy() {}
