// What the user is told when the print dialog fails, by the dialog's extended error code.
#pragma once

#include <string>

// The error text of one code, ending in a tab as the message lays it out.
const char* PrinterErrorText(unsigned long code);

// The whole message box text for a failed print dialog.
std::string PrinterErrorMessage(unsigned long code);
