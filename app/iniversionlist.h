// version.ini's [VER] list for module identification, read through the settings-file class.
#pragma once

#include "inifile.h"
#include "versionlist.h"

class CIniVersionList : public IVersionList {
public:
    explicit CIniVersionList(CMyIniFile& file) : m_file(file) {}
    const char* ReadVersion(int key) override;

private:
    CMyIniFile& m_file;
};
