#include "base/SaveJournal.h"

#include "base/Leftovers.h"
#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictor {

namespace {

constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr size_t IdLength = 6;
constexpr std::string_view Header = "pictor-save-journal 1\n";

[[noreturn]] void Damaged(const std::string& path, const std::string& why)
{
    throw TPictorError(path, "壊れた保存記録です（" + why + "）");
}

bool IsDigit36(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }

std::string Base36(unsigned n)
{
    std::string text;
    do text.insert(text.begin(), Digits[n % 36]);
    while ((n /= 36) != 0);
    return text;
}

// prefix + id + "." + n: the id of such a name, or empty.
std::string_view IdAfter(std::string_view prefix, std::string_view name)
{
    if (!name.starts_with(prefix)) return {};
    name.remove_prefix(prefix.size());
    if (name.size() < IdLength + 2 || name.size() > IdLength + 8 || name[IdLength] != '.') return {};
    const std::string_view id = name.substr(0, IdLength);
    const std::string_view n = name.substr(IdLength + 1);
    if (!std::all_of(id.begin(), id.end(), IsDigit36) || !std::all_of(n.begin(), n.end(), IsDigit36)) return {};
    return id;
}

// Names and folders go in as fields separated by spaces: a space, a control byte or '%' is written %XX.
std::string Escape(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F || c == '%') out += {'%', Hex[b >> 4], Hex[b & 15]};
        else out += c;
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        unsigned value = 0;
        for (const char h : text.substr(i + 1, 2)) {
            const char* at = std::strchr("0123456789ABCDEF", h);
            if (!at || h == 0) return false;
            value = value * 16 + unsigned(at - "0123456789ABCDEF");
        }
        out += char(value);
        i += 2;
    }
    return true;
}

std::uint64_t Checksum(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

std::string Hex64(std::uint64_t value)
{
    std::ostringstream out;
    out << std::hex << value;
    return out.str();
}

// "." or a path below it that never climbs out: no "..", no empty or "." step, not absolute.
bool InsideFolder(const std::string& folder)
{
    if (folder == ".") return true;
    if (folder.empty() || folder.front() == '/') return false;
    std::istringstream steps(folder + "/");
    std::string step;
    while (std::getline(steps, step, '/'))
        if (step.empty() || step == "." || step == "..") return false;
    return true;
}

bool PlainName(const std::string& name) { return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos; }

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; in >> field;) fields.push_back(field);
    return fields;
}

} // namespace

std::string NewSaveId(unsigned random)
{
    std::string id;
    for (size_t i = 0; i < IdLength; ++i, random /= 36) id += Digits[random % 36];
    return id;
}

std::string JournalName(std::string_view id) { return ".pvj" + std::string(id); }
std::string TemporaryName(std::string_view id, unsigned n) { return ".pv" + std::string(id) + "." + Base36(n); }
std::string BackupName(std::string_view id, unsigned n) { return ".pb" + std::string(id) + "." + Base36(n); }
std::string_view TemporaryId(std::string_view name) { return IdAfter(".pv", name); }
std::string_view BackupId(std::string_view name) { return IdAfter(".pb", name); }

std::string_view JournalId(std::string_view name)
{
    if (name.size() != 4 + IdLength || !name.starts_with(".pvj")) return {};
    name.remove_prefix(4);
    return std::all_of(name.begin(), name.end(), IsDigit36) ? name : std::string_view{};
}

TJournalWriter::TJournalWriter(const std::string& folder, unsigned random) : Folder_(folder)
{
    for (int attempt = 0; attempt < 100; ++attempt, random = random * 1103515245u + 12345u) {
        Id_ = NewSaveId(random);
        Path_ = folder + "/" + JournalName(Id_);
        // Listed as it is made: an interrupt removes it with the temporaries, last.
        Fd_ = CreateLeftoverFile(Path_, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (Fd_ < 0 && errno == EEXIST) continue;
        if (Fd_ < 0) ThrowErrno(Path_, errno);
        ::flock(Fd_, LOCK_EX);
        // A run looking for journals may have found it empty before the lock and removed it.
        struct stat named, opened;
        if (::lstat(Path_.c_str(), &named) == 0 && ::fstat(Fd_, &opened) == 0 && named.st_ino == opened.st_ino) {
            Append(std::string(Header));
            return;
        }
        Keep();
    }
    errno = EEXIST;
    ThrowErrno(Path_, errno);
}

TJournalWriter::~TJournalWriter()
{
    if (Fd_ >= 0) ::close(Fd_);
}

void TJournalWriter::Append(const std::string& text)
{
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(Fd_, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) ThrowErrno(Path_, errno);
        rest.remove_prefix(size_t(written));
    }
}

void TJournalWriter::NoteTemporary(const std::string& folder, const std::string& temp, const std::string& target)
{
    Append("temp " + Escape(folder) + " " + Escape(target) + " " + Escape(temp) + "\n");
}

void TJournalWriter::WriteCommit(const std::vector<TJournalEntry>& entries)
{
    std::string record = "commit " + std::to_string(entries.size()) + "\n";
    for (const TJournalEntry& e : entries)
        record += "entry " + Escape(e.Folder) + " " + Escape(e.Target) + " " + Escape(e.Temp) + " " +
                  (e.Backup.empty() ? "-" : Escape(e.Backup)) + " " + std::to_string(e.Size) + " " +
                  std::to_string(e.TempInode) + " " + std::to_string(e.OriginalInode) + "\n";
    Append(record + "end " + Hex64(Checksum(record)) + "\n");
    if (::fsync(Fd_) != 0) ThrowErrno(Path_, errno);
    // Its name too must outlive a crash before the first rename.
    const int folder = ::open(Folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void TJournalWriter::Remove()
{
    ::unlink(Path_.c_str());
    Keep();
}

void TJournalWriter::Keep()
{
    DropLeftover(Path_);
    ::close(Fd_);
    Fd_ = -1;
}

TJournal ReadJournal(int fd, const std::string& path, std::string_view id)
{
    std::string text;
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ThrowErrno(path, errno);
        text.append(buffer, size_t(got));
        if (text.size() > (64u << 20)) Damaged(path, "大きすぎます");
    }
    // Cut short as it was being made: nothing was written under it.
    if (Header.starts_with(text)) return {};
    if (!text.starts_with(Header)) Damaged(path, "見出しがありません");

    TJournal journal;
    size_t commitAt = std::string::npos, count = 0;
    std::vector<TJournalEntry> entries;
    size_t at = Header.size();
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        // A torn last line, or a commit record without its end: the writer was cut short before any rename.
        if (end == std::string::npos) break;
        const std::string line = text.substr(at, end - at);
        const std::vector<std::string> f = Fields(line);
        if (commitAt == std::string::npos && f.size() == 4 && f[0] == "temp") {
            TJournalEntry e;
            if (!Unescape(f[1], e.Folder) || !Unescape(f[2], e.Target) || !Unescape(f[3], e.Temp))
                Damaged(path, "読めない行があります");
            if (!InsideFolder(e.Folder) || !PlainName(e.Target) || TemporaryId(e.Temp) != id)
                Damaged(path, "外を指す行があります: " + line);
            journal.Temporaries.push_back(std::move(e));
        } else if (commitAt == std::string::npos && f.size() == 2 && f[0] == "commit") {
            commitAt = at;
            count = std::strtoull(f[1].c_str(), nullptr, 10);
        } else if (commitAt != std::string::npos && f.size() == 8 && f[0] == "entry") {
            TJournalEntry e;
            if (!Unescape(f[1], e.Folder) || !Unescape(f[2], e.Target) || !Unescape(f[3], e.Temp) ||
                (f[4] != "-" && !Unescape(f[4], e.Backup)))
                Damaged(path, "読めない行があります");
            if (!InsideFolder(e.Folder) || !PlainName(e.Target) || TemporaryId(e.Temp) != id ||
                (!e.Backup.empty() && BackupId(e.Backup) != id))
                Damaged(path, "外を指す行があります: " + line);
            e.Size = std::strtoull(f[5].c_str(), nullptr, 10);
            e.TempInode = std::strtoull(f[6].c_str(), nullptr, 10);
            e.OriginalInode = std::strtoull(f[7].c_str(), nullptr, 10);
            if ((e.OriginalInode == 0) != e.Backup.empty()) Damaged(path, "読めない行があります");
            entries.push_back(std::move(e));
        } else if (commitAt != std::string::npos && f.size() == 2 && f[0] == "end") {
            if (f[1] != Hex64(Checksum(std::string_view(text).substr(commitAt, at - commitAt))) ||
                entries.size() != count)
                Damaged(path, "検査値が合いません");
            journal.Committed = true;
            journal.Entries = std::move(entries);
            if (end + 1 != text.size()) Damaged(path, "終わりの後に続きがあります");
            return journal;
        } else {
            Damaged(path, "読めない行があります");
        }
        at = end + 1;
    }
    return journal;
}

} // namespace pictor
