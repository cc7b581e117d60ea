#include "keys.h"

#include "interpreter.h"

namespace {

int AnsiArrow(int virtualKey, unsigned char out[3]) {
    char letter = 0;
    switch (virtualKey) {
    case kKeyUp: letter = 'A'; break;
    case kKeyDown: letter = 'B'; break;
    case kKeyRight: letter = 'C'; break;
    case kKeyLeft: letter = 'D'; break;
    default: return 0;
    }
    out[0] = 27;
    out[1] = '[';
    out[2] = static_cast<unsigned char>(letter);
    return 3;
}

int MakerKey(int virtualKey) {
    switch (virtualKey) {
    case kKeyShift: return 0x0F;
    case kKeyControl: return 0x7E;
    case kKeyLeft: return 0x13;
    case kKeyUp: return 0x05;
    case kKeyRight: return 0x04;
    case kKeyDown: return 0x18;
    case kKeyInsert: return 0x16;
    case kKeyDelete: return 0x7F;
    case kKeyNumpadAdd: return 0x2B;
    case kKeyNumpadSubtract: return 0x2D;
    case kKeyFullStop: return 0x2E;
    default: break;
    }
    if (virtualKey >= kKeyF1 && virtualKey <= kKeyF5) return 0x81 + (virtualKey - kKeyF1);
    return -1;
}

} // namespace

int TranslateKeyRelease(int escapeMode, int virtualKey, unsigned char out[3]) {
    if (out == nullptr) return 0;
    if (escapeMode == kEscapeAnsi) return AnsiArrow(virtualKey, out);
    if (escapeMode != kEscapeMaker) return 0;
    const int byte = MakerKey(virtualKey);
    if (byte < 0) return 0;
    out[0] = static_cast<unsigned char>(byte);
    return 1;
}
