#pragma once
#include <functional>
#include <memory>
#include <string>

namespace pictor {

enum TDefaultFolder { dfAppData, dfApplication, dfUser, dfWindows };

// The settings file: an INI text read and written whole through an in-memory copy that keeps the
// order of sections and keys and every entry nobody asked for. Section and key names are matched
// without regard to case.
class TIniFileCompo {
public:
    TIniFileCompo();
    ~TIniFileCompo();
    TIniFileCompo(const TIniFileCompo&) = delete;
    TIniFileCompo& operator=(const TIniFileCompo&) = delete;

    bool AutoUpdate = true;     // write the copy to disk on destruction
    bool UpdateAtOnce = false;  // write the copy to disk after every write operation
    std::function<void()> OnLoad;    // after a reload from a new path
    std::function<void()> OnUpdate;  // after each write-through

    const std::string& FileName() const { return FileName_; }
    void SetFileName(const std::string& name);  // empty: the program's base name + ".ini"
    TDefaultFolder DefaultFolder() const { return DefaultFolder_; }
    void SetDefaultFolder(TDefaultFolder folder);
    const std::string& FullPath() const { return FullPath_; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Decimal or "0x" hexadecimal; anything else gives def.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Writes the in-memory copy to FullPath(), creating its folder when missing. Failures are silent.
    void UpdateFile();

private:
    std::string FolderOf(TDefaultFolder folder) const;
    void Reload();
    void Written();

    struct TData;
    std::unique_ptr<TData> Data_;
    std::string ProgramFolder_;
    std::string DefaultFileName_;
    std::string FileName_;
    std::string Folder_;
    std::string FullPath_;
    TDefaultFolder DefaultFolder_ = dfApplication;
};

} // namespace pictor
