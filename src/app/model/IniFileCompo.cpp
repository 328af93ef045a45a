#include "app/model/IniFileCompo.h"

#include "app/model/ProgramPaths.h"

// Bytes in, bytes out: names and values are never converted.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace pictor {

struct TIniFileCompo::TData {
    CSimpleIniA Ini{false, false, false};  // bytes as they are, one value per key
};

namespace {

bool ParseInteger(const std::string& text, int& value)
{
    std::string digits = text;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        negative = digits[0] == '-';
        digits.erase(0, 1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.erase(0, 2);
    }
    if (digits.empty() || !std::isxdigit(static_cast<unsigned char>(digits[0]))) return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(digits.c_str(), &end, base);
    if (*end != '\0' || errno == ERANGE) return false;
    const long long signedValue = negative ? -parsed : parsed;
    if (signedValue < INT_MIN || signedValue > INT_MAX) return false;
    value = int(signedValue);
    return true;
}

} // namespace

TIniFileCompo::TIniFileCompo()
    : Data_(std::make_unique<TData>()),
      ProgramFolder_(ProgramFolder()),
      DefaultFileName_(ProgramBaseName() + ".ini"),
      Folder_(ProgramFolder_),
      FullPath_(Folder_ + DefaultFileName_)
{
    Reload();
}

TIniFileCompo::~TIniFileCompo()
{
    if (AutoUpdate) UpdateFile();
}

void TIniFileCompo::SetFileName(const std::string& name)
{
    FileName_ = name;
    FullPath_ = Folder_ + (name.empty() ? DefaultFileName_ : name);
    Reload();
    if (OnLoad) OnLoad();
}

void TIniFileCompo::SetDefaultFolder(TDefaultFolder folder)
{
    DefaultFolder_ = folder;
    Folder_ = FolderOf(folder);
    FullPath_ = Folder_ + fs::path(FullPath_).filename().string();
    const fs::path parent = fs::path(FullPath_).parent_path();
    std::error_code ignored;
    if (!parent.empty() && !fs::exists(parent, ignored)) fs::create_directories(parent, ignored);
    Reload();
    if (OnLoad) OnLoad();
}

std::string TIniFileCompo::FolderOf(TDefaultFolder folder) const
{
    switch (folder) {
    case dfAppData: return UserDataFolder() + "Pictor/";
    case dfUser: return {};
    case dfApplication:
    case dfWindows: break;  // no Windows folder here: the program's own stands in
    }
    return ProgramFolder_;
}

void TIniFileCompo::Reload()
{
    Data_->Ini.Reset();
    Data_->Ini.SetSpaces(false);
    Data_->Ini.LoadFile(FullPath_.c_str());  // a missing file is an empty one
}

std::string TIniFileCompo::ReadString(const std::string& section, const std::string& key,
                                      const std::string& def) const
{
    const char* value = Data_->Ini.GetValue(section.c_str(), key.c_str(), nullptr);
    return value ? std::string(value) : def;
}

int TIniFileCompo::ReadInteger(const std::string& section, const std::string& key, int def) const
{
    const char* text = Data_->Ini.GetValue(section.c_str(), key.c_str(), nullptr);
    int value = def;
    return text && ParseInteger(text, value) ? value : def;
}

bool TIniFileCompo::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFileCompo::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Data_->Ini.SetValue(section.c_str(), key.c_str(), value.c_str());
    Written();
}

void TIniFileCompo::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFileCompo::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFileCompo::Written()
{
    if (!UpdateAtOnce) return;
    UpdateFile();
    if (OnUpdate) OnUpdate();
}

void TIniFileCompo::UpdateFile()
{
    const fs::path parent = fs::path(FullPath_).parent_path();
    std::error_code ignored;
    if (!parent.empty()) fs::create_directories(parent, ignored);
    Data_->Ini.SaveFile(FullPath_.c_str(), false);
}

} // namespace pictor
