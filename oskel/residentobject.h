// Reference counting of shared drawing objects: the object exists only while referenced.
#pragma once

#include "myobject.h"

class OSKEL_API CMyResidentObject : public CMyObject {
public:
    CMyResidentObject();
    ~CMyResidentObject() override;

    virtual int CreateResidentObject() = 0;
    virtual int DeleteResidentObject() = 0;

    // First reference creates the object; a failed creation leaves the count at 0.
    int AddReference();
    // Last release deletes the object; 0 when nothing was referenced.
    int ReleaseReference();
    int GetReferenceCount() const { return m_references; }

private:
    int m_references;
};
