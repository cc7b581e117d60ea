#include "iniversionlist.h"

#include <cstdio>

const char* CIniVersionList::ReadVersion(int key) {
    char name[16];
    std::snprintf(name, sizeof name, "%d", key);
    return m_file.Read("VER", name) ? m_file.GetValue() : nullptr;
}
