#include "residentobject.h"

CMyResidentObject::CMyResidentObject() : m_references(0) {}

CMyResidentObject::~CMyResidentObject() = default;

int CMyResidentObject::AddReference() {
    if (m_references == 0 && CreateResidentObject() == 0) return 0;
    ++m_references;
    return 1;
}

int CMyResidentObject::ReleaseReference() {
    if (m_references == 0) return 0;
    if (--m_references == 0) return DeleteResidentObject();
    return 1;
}
