#pragma once
#include <string>

namespace pictor {

// The running executable's folder, with a trailing "/".
std::string ProgramFolder();
// The executable's name without folder and extension.
std::string ProgramBaseName();
// The user's data folder ($XDG_DATA_HOME or ~/.local/share), with a trailing "/".
std::string UserDataFolder();
// Where "settings.ini" lives: $PICTOR_SETTINGS_DIR when set; else the program's folder when it is
// writable; else ~/.config/Pictor/ (an installed program's folder is not writable).
std::string SettingsFilePath();

} // namespace pictor
