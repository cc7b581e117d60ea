// The platform's open and save dialogs as a CMyDialog: Show(-1) asks for a file name.
#pragma once

#include "dialog.h"

#include <commdlg.h>

class OSKEL_API CMyFileDialog : public CMyDialog {
public:
    // templateId -1: no template of ours; hook null: no hook.
    CMyFileDialog(void* owner, int save, int templateId, LPOFNHOOKPROC hook);
    ~CMyFileDialog() override;

    INT_PTR ShowModalDialog() override;
    int ShowModelessDialog(int showCommand) override;
    virtual INT_PTR ShowModalDialogFromInstance(void* instance);

    // Pairs of description and pattern, each ended by a NUL, the list by a second NUL.
    // The text is not copied.
    void SetFilter(const char* filter, int index);
    // Returns 0 and keeps the old name when the name does not fit the field.
    int SetFileName(const char* name);
    // Without the dot; not copied.
    void SetDefaultExt(const char* ext);
    // The proposed and, after a confirmed dialog, the chosen full path.
    const char* GetFileName() const { return m_fileName; }

    enum { kFileNameSize = 521 };

protected:
    OPENFILENAMEW m_record;
    char m_fileName[kFileNameSize];
    int m_save;
    const char* m_filter;
    const char* m_defaultExt;
};
