// Push-button restyling: while it runs, every push button of the process is drawn and
// driven by the library (flat face, blue outline with cut corners, optional icons).
#pragma once

#include "myobject.h"

// State bits of a registered push button.
enum : unsigned char {
    MY_BUTTON_ENABLED = 1,
    MY_BUTTON_FOCUS = 2,
    MY_BUTTON_PRESSED = 4,
    MY_BUTTON_HOT = 8,
};

#pragma pack(push, 1)
struct MY_BUTTON_ENTRY {
    void* button;
    unsigned char state;
    void* icon;
    void* hotIcon;
    MY_BUTTON_ENTRY* next;
};
#pragma pack(pop)

// Registry of the push buttons that exist, newest first.
class OSKEL_API _My_Button_ : public CMyObject {
public:
    _My_Button_();
    // Deletes the icons of the remaining entries.
    ~_My_Button_() override;
    _My_Button_(const _My_Button_&) = delete;
    _My_Button_& operator=(const _My_Button_&) = delete;

    MY_BUTTON_ENTRY* Add(void* button, unsigned char state);
    // Sets the current entry; null when the button is not registered.
    MY_BUTTON_ENTRY* Find(void* button);
    // Removes the entry and deletes its icons.
    int Remove(void* button);
    MY_BUTTON_ENTRY* GetCurrent() const { return m_current; }
    int GetCount() const;

private:
    MY_BUTTON_ENTRY* m_first;
    MY_BUTTON_ENTRY* m_current;
};

namespace oskel {

// Replaces the button class's procedure (1), or 0 when that cannot be done.
int StartButtonRestyling(void* instance);
void StopButtonRestyling();
// The registry, for the library's own checks and the tests.
OSKEL_API _My_Button_& ButtonRegistry();

} // namespace oskel
