// Ready-made content for the port, sent as it is: a file's bytes and the clipboard's text.
#pragma once

#include "sendingdata.h"

#include <windows.h>

// Chunk size of file sending while the main window's work buffer has its starting size.
const int kContentChunk = 522;

enum : int { kContentCancelled = -1, kContentCannotOpen = -2 };

// Asks for a file and sends its content in chunks of chunkSize bytes, each as soon as it is
// read; afterwards the owner is asked to show the cursor row. Returns the bytes read, or
// kContentCancelled, or kContentCannotOpen after telling the user.
int SendFileContent(HWND owner, ISendingData& data, int chunkSize);
// The same for a file already chosen.
int SendFileContentOf(HWND owner, const char* path, ISendingData& data, int chunkSize);

// Sends the clipboard's text up to its first NUL; 1 when there was text, else 0.
int SendClipboardText(HWND owner, ISendingData& data);
// Whether the clipboard holds text now (a clipboard that cannot be opened holds none).
bool IsClipboardTextAvailable(HWND owner);

// Asks the owner (the main window) to scroll the terminal to its cursor row.
void RequestCursorRow(HWND owner, ISendingData& data);
