#include "app/model/ProgramPaths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace pictor {
namespace {

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string EnvFolder(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? WithSlash(value) : std::string();
}

std::string HomeFolder()
{
    const std::string home = EnvFolder("HOME");
    return home.empty() ? std::string("/") : home;
}

fs::path ExecutablePath()
{
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() / "pictor" : exe;
}

} // namespace

std::string ProgramFolder()
{
    return WithSlash(ExecutablePath().parent_path().string());
}

std::string ProgramBaseName()
{
    return ExecutablePath().stem().string();
}

std::string UserDataFolder()
{
    const std::string xdg = EnvFolder("XDG_DATA_HOME");
    return xdg.empty() ? HomeFolder() + ".local/share/" : xdg;
}

std::string SettingsFilePath()
{
    const std::string chosen = EnvFolder("PICTOR_SETTINGS_DIR");
    if (!chosen.empty()) return chosen + "settings.ini";
    const std::string program = ProgramFolder();
    if (access(program.c_str(), W_OK) == 0) return program + "settings.ini";
    const std::string config = EnvFolder("XDG_CONFIG_HOME");
    return (config.empty() ? HomeFolder() + ".config/" : config) + "Pictor/settings.ini";
}

} // namespace pictor
