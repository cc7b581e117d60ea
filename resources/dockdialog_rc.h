// The floating frame of the chat line.
#pragma once

#define IDD_CHAT_FRAME 1020
