#include "settingsfolder.h"

#include "platform.h"

bool LocateSettingsFolder(CDynString& folder) {
    const char tail[] = {oskel::kPathSeparator, 'T', 'a', 'r', 'l', 'i', 'n', 0};
    if (settings_platform::UserBase(folder) && folder.Append(tail) &&
        settings_platform::CreateFolder(folder.GetString()))
        return true;
    return settings_platform::ProgramFolder(folder);
}
