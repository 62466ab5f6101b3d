// POSIX implementation of the kernel32 subset declared in the stand-in
// windows.h. It keeps the Win32 results the portable code relies on:
// case-insensitive name matching, the read-only attribute honoured even for
// root, CREATE_ALWAYS truncation, last-error codes for the common failures.
// Names are UTF-8 on the Linux side; every path is converted at the entry of
// the function that takes it and every name on the way out.
#include <windows.h>

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <iconv.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

constexpr unsigned kGbkLeadFirst = 0x81;
constexpr unsigned kGbkLeadLast = 0xFE;
bool IsGbkLead(unsigned char b) { return b >= kGbkLeadFirst && b <= kGbkLeadLast; }

constexpr UINT kGbkCodePage = 936;
constexpr char kGbk[] = "CP936";
constexpr char kUtf8[] = "UTF-8";
constexpr char kWide[] = "WCHAR_T";

// Only the program's own code page and UTF-8; the system code page (CP_ACP)
// is none of them.
const char* IconvName(UINT codePage) {
  switch (codePage) {
    case kGbkCodePage: return kGbk;
    case CP_UTF8: return kUtf8;
    default: return nullptr;
  }
}

// One descriptor per direction and thread, opened at its first use and
// closed with the thread: every path of every call passes through one or two.
class Descriptors {
 public:
  Descriptors() = default;
  Descriptors(const Descriptors&) = delete;
  Descriptors& operator=(const Descriptors&) = delete;
  ~Descriptors() {
    for (const Opened& o : opened_) iconv_close(o.descriptor);
  }

  iconv_t For(const char* from, const char* to) {
    for (const Opened& o : opened_)
      if (o.from == from && o.to == to) return o.descriptor;
    iconv_t descriptor = iconv_open(to, from);
    if (descriptor != reinterpret_cast<iconv_t>(-1)) opened_.push_back({from, to, descriptor});
    return descriptor;
  }

 private:
  struct Opened {
    const char* from;
    const char* to;
    iconv_t descriptor;
  };
  std::vector<Opened> opened_;
};
thread_local Descriptors descriptors;

// The bytes of in, from one encoding to another; nothing where a character
// does not convert, unless substitute is given, which then takes the place
// of the byte that did not.
std::optional<std::string> Recode(const char* from, const char* to, std::string_view in,
                                  std::string_view substitute = {}) {
  iconv_t cd = descriptors.For(from, to);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  char buffer[1024];
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, sizeof buffer - dstLeft);
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (substitute.empty()) return std::nullopt;
    out.append(substitute);
    ++src;
    --srcLeft;
  }
  return out;
}

std::string_view BytesOf(const std::wstring& wide) {
  return {reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)};
}

std::wstring WideOf(const std::string& bytes) {
  std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
  return wide;
}

std::optional<std::string> Utf8Of(const char* gbk) { return Recode(kGbk, kUtf8, gbk); }
std::optional<std::string> Utf8Of(const wchar_t* wide) { return Recode(kWide, kUtf8, BytesOf(wide)); }

// A name or path as Linux gives it, in the caller's characters.
bool FromUtf8(const std::string& utf8, std::string& gbk) {
  std::optional<std::string> converted = Recode(kUtf8, kGbk, utf8);
  if (converted) gbk = std::move(*converted);
  return converted.has_value();
}
bool FromUtf8(const std::string& utf8, std::wstring& wide) {
  std::optional<std::string> converted = Recode(kUtf8, kWide, utf8);
  if (converted) wide = WideOf(*converted);
  return converted.has_value();
}

DWORD ErrorFromErrno(int e) {
  switch (e) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC: return ERROR_DISK_FULL;
    case ENAMETOOLONG:
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_WRITE_FAULT;
  }
}

BOOL Fail(DWORD code) {
  lastError = code;
  return FALSE;
}

BOOL FailErrno() { return Fail(ErrorFromErrno(errno)); }

// Windows path to POSIX path: "\" separators become "/". UTF-8 has no byte
// 0x5C inside a character, so the swap works byte by byte. False, with the
// error set, for a missing or empty path or one that does not convert.
template <typename Char>
bool PosixPath(const Char* path, std::string& posix, DWORD emptyError = ERROR_PATH_NOT_FOUND) {
  if (path == nullptr || *path == 0) return Fail(emptyError);
  std::optional<std::string> utf8 = Utf8Of(path);
  if (!utf8) return Fail(ERROR_INVALID_NAME);
  posix = std::move(*utf8);
  std::replace(posix.begin(), posix.end(), '\\', '/');
  return true;
}

// A path or name from Linux in the caller's characters, "/" as "\".
template <typename String>
bool WindowsPath(std::string utf8, String& out) {
  std::replace(utf8.begin(), utf8.end(), '/', '\\');
  return FromUtf8(utf8, out);
}

// Copies text and its terminator into a buffer of size characters. Like
// Windows: a text that does not fit is cut short and terminated, and the
// size is returned.
template <typename Char, typename String>
DWORD CopyOut(const String& text, Char* buffer, DWORD size) {
  std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
  std::copy_n(text.data(), copied, buffer);
  buffer[copied] = 0;
  if (copied < text.size()) {
    lastError = ERROR_INSUFFICIENT_BUFFER;
    return size;
  }
  return static_cast<DWORD>(copied);
}

// Hidden, system and archive bits have no POSIX counterpart; they live in an
// extended attribute where the file system has them. Read-only is the
// owner's write permission bit.
constexpr char kAttributeXattr[] = "user.velmora.dosattrib";
constexpr DWORD kXattrBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

DWORD AttributesOf(const std::string& posixPath, const struct stat& st) {
  DWORD attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (!(st.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  unsigned char stored = 0;
  if (getxattr(posixPath.c_str(), kAttributeXattr, &stored, 1) == 1) attributes |= stored & kXattrBits;
  return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

bool IsReadOnly(const struct stat& st) { return !(st.st_mode & S_IWUSR); }

mode_t ModeWithAttributes(mode_t mode, DWORD attributes) {
  mode &= 07777;
  return (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~0222) : (mode | S_IWUSR);
}

unsigned char StoredBits(DWORD attributes) { return static_cast<unsigned char>(attributes & kXattrBits); }

// FILETIME counts 100 ns units since 1601-01-01 UTC.
constexpr std::int64_t kUnixEpochIn100ns = 116444736000000000LL;

FILETIME FileTimeFrom(const struct timespec& ts) {
  std::uint64_t v = static_cast<std::uint64_t>(ts.tv_sec * 10000000LL + ts.tv_nsec / 100 + kUnixEpochIn100ns);
  return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
}

struct timespec TimespecFrom(const FILETIME& ft) {
  std::int64_t v = static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
  v -= kUnixEpochIn100ns;
  std::int64_t sec = v / 10000000;
  std::int64_t rem = v % 10000000;
  if (rem < 0) {
    rem += 10000000;
    --sec;
  }
  struct timespec ts{};
  ts.tv_sec = static_cast<time_t>(sec);
  ts.tv_nsec = static_cast<long>(rem * 100);
  return ts;
}

// Open files by identity, so that share modes work as on Windows: a file held
// without FILE_SHARE_WRITE cannot be opened for writing elsewhere, one held
// without FILE_SHARE_DELETE cannot be deleted or replaced.
struct FileObject {
  int fd;
  dev_t device;
  ino_t inode;
  DWORD access;
  DWORD share;
};

std::vector<FileObject*> openFiles;

bool SharingAllows(const struct stat& st, DWORD access, DWORD share) {
  for (const FileObject* open : openFiles) {
    if (open->device != st.st_dev || open->inode != st.st_ino) continue;
    if ((access & GENERIC_WRITE) && !(open->share & FILE_SHARE_WRITE)) return false;
    if ((access & GENERIC_READ) && !(open->share & FILE_SHARE_READ)) return false;
    if ((open->access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
    if ((open->access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if (access == 0 && !(open->share & FILE_SHARE_DELETE)) return false;  // deletion
  }
  return true;
}

// Deleting or replacing a file needs every opener to share deletion.
bool MayRemove(const struct stat& st) { return SharingAllows(st, 0, FILE_SHARE_READ | FILE_SHARE_WRITE); }

struct SearchObject {
  std::string directory;  // POSIX, with trailing "/" or empty for the current directory
  std::vector<std::string> names;
  std::size_t next = 0;
};

// A name that the caller's characters cannot spell, or that does not fit,
// is passed over.
template <typename FindData>
bool FillFindData(SearchObject& search, FindData* data) {
  using Name = std::conditional_t<std::is_same_v<FindData, WIN32_FIND_DATAW>, std::wstring, std::string>;
  while (search.next < search.names.size()) {
    const std::string& name = search.names[search.next++];
    std::string full = search.directory + name;
    struct stat st{};
    Name converted;
    if (lstat(full.c_str(), &st) != 0 || !FromUtf8(name, converted) || converted.size() >= MAX_PATH) continue;
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = AttributesOf(full, st);
    data->ftCreationTime = FileTimeFrom(st.st_ctim);
    data->ftLastAccessTime = FileTimeFrom(st.st_atim);
    data->ftLastWriteTime = FileTimeFrom(st.st_mtim);
    std::uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
    std::copy(converted.begin(), converted.end(), data->cFileName);
    return true;
  }
  return false;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

// Days from 1601-01-01 to the given date. 1600 is a multiple of 400, so the
// leap days before year y follow from the years since 1601 alone.
std::int64_t DaysSince1601(int y, int m, int d) {
  std::int64_t years = y - 1601;
  std::int64_t days = years * 365 + years / 4 - years / 100 + years / 400;
  for (int month = 1; month < m; ++month) days += DaysInMonth(y, month);
  return days + d - 1;
}

bool MakeFileTime(int y, int mo, int d, int h, int mi, int s, int ms, FILETIME* out) {
  if (y < 1601 || y > 30827 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 || mi > 59 ||
      s > 59 || ms > 999)
    return false;
  std::int64_t seconds = DaysSince1601(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
  std::uint64_t v = static_cast<std::uint64_t>(seconds) * 10000000ULL + static_cast<std::uint64_t>(ms) * 10000ULL;
  out->dwLowDateTime = static_cast<DWORD>(v);
  out->dwHighDateTime = static_cast<DWORD>(v >> 32);
  return true;
}

}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

namespace {

template <typename Char>
DWORD ModuleFileName(HMODULE module, Char* buffer, DWORD size) {
  if (module != nullptr || size == 0) return Fail(ERROR_INVALID_PARAMETER);
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n < 0) return FailErrno();
  std::basic_string<Char> windows;
  if (!WindowsPath(std::string(path, static_cast<std::size_t>(n)), windows)) return Fail(ERROR_INVALID_NAME);
  return CopyOut(windows, buffer, size);
}

template <typename Char>
BOOL ChangeDirectory(const Char* path) {
  std::string posix;
  if (!PosixPath(path, posix, ERROR_INVALID_PARAMETER)) return FALSE;
  return chdir(posix.c_str()) == 0 ? TRUE : FailErrno();
}

template <typename Char, typename FindData>
HANDLE FindFirst(const Char* pattern, FindData* data) {
  std::string posix;
  if (!PosixPath(pattern, posix)) return INVALID_HANDLE_VALUE;
  std::size_t slash = posix.rfind('/');
  auto* search = new SearchObject;
  std::string mask = slash == std::string::npos ? posix : posix.substr(slash + 1);
  search->directory = slash == std::string::npos ? "" : posix.substr(0, slash + 1);
  if (mask.empty()) {
    delete search;
    lastError = ERROR_FILE_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  DIR* dir = opendir(search->directory.empty() ? "." : search->directory.c_str());
  if (dir == nullptr) {
    delete search;
    lastError = ERROR_PATH_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  while (struct dirent* entry = readdir(dir)) {
    if (fnmatch(mask.c_str(), entry->d_name, FNM_CASEFOLD | FNM_NOESCAPE) == 0)
      search->names.emplace_back(entry->d_name);
  }
  closedir(dir);
  if (!FillFindData(*search, data)) {
    delete search;
    lastError = ERROR_FILE_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  return search;
}

template <typename FindData>
BOOL FindNext(HANDLE search, FindData* data) {
  if (search == nullptr || search == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  return FillFindData(*static_cast<SearchObject*>(search), data) ? TRUE : Fail(ERROR_NO_MORE_FILES);
}

template <typename Char>
BOOL MakeDirectory(const Char* path) {
  std::string posix;
  if (!PosixPath(path, posix)) return FALSE;
  return mkdir(posix.c_str(), 0777) == 0 ? TRUE : FailErrno();
}

template <typename Char>
BOOL Delete(const Char* path) {
  std::string posix;
  if (!PosixPath(path, posix)) return FALSE;
  struct stat st{};
  if (lstat(posix.c_str(), &st) != 0) return FailErrno();
  if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED);
  if (!MayRemove(st)) return Fail(ERROR_SHARING_VIOLATION);
  return unlink(posix.c_str()) == 0 ? TRUE : FailErrno();
}

template <typename Char>
HANDLE Create(const Char* path, DWORD access, DWORD share, DWORD disposition, DWORD attributes) {
  std::string posix;
  if (!PosixPath(path, posix)) return INVALID_HANDLE_VALUE;
  int flags = O_CLOEXEC;
  bool writing = (access & GENERIC_WRITE) != 0;
  flags |= writing ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (disposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default: lastError = ERROR_INVALID_PARAMETER; return INVALID_HANDLE_VALUE;
  }
  struct stat st{};
  // A new file needs no look first: O_EXCL refuses whatever is there, a
  // directory too, and that is ERROR_FILE_EXISTS as on Windows.
  if (disposition != CREATE_NEW && stat(posix.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode) || (writing && IsReadOnly(st))) {
      lastError = ERROR_ACCESS_DENIED;
      return INVALID_HANDLE_VALUE;
    }
    if (!SharingAllows(st, access, share)) {
      lastError = ERROR_SHARING_VIOLATION;
      return INVALID_HANDLE_VALUE;
    }
  }
  mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  int fd = open(posix.c_str(), flags, mode);
  if (fd < 0) {
    lastError = errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno);
    return INVALID_HANDLE_VALUE;
  }
  struct stat opened{};
  fstat(fd, &opened);
  lastError = ERROR_SUCCESS;
  auto* file = new FileObject{fd, opened.st_dev, opened.st_ino, access, share};
  openFiles.push_back(file);
  return file;
}

template <typename Char>
DWORD Attributes(const Char* path) {
  std::string posix;
  if (!PosixPath(path, posix)) return INVALID_FILE_ATTRIBUTES;
  struct stat st{};
  if (lstat(posix.c_str(), &st) != 0) {
    lastError = ErrorFromErrno(errno);
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(posix, st);
}

template <typename Char>
BOOL SetAttributes(const Char* path, DWORD attributes) {
  std::string posix;
  if (!PosixPath(path, posix)) return FALSE;
  struct stat st{};
  if (lstat(posix.c_str(), &st) != 0) return FailErrno();
  if (chmod(posix.c_str(), ModeWithAttributes(st.st_mode, attributes)) != 0) return FailErrno();
  unsigned char stored = StoredBits(attributes);
  if (stored != 0)
    setxattr(posix.c_str(), kAttributeXattr, &stored, 1, 0);
  else
    removexattr(posix.c_str(), kAttributeXattr);
  return TRUE;
}

}  // namespace

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) { return ModuleFileName(module, buffer, size); }

BOOL SetCurrentDirectoryA(LPCSTR path) { return ChangeDirectory(path); }
BOOL SetCurrentDirectoryW(LPCWSTR path) { return ChangeDirectory(path); }

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  char path[4096];
  if (getcwd(path, sizeof path) == nullptr) return FailErrno();
  std::string windows;
  if (!WindowsPath(path, windows)) return Fail(ERROR_INVALID_NAME);
  if (windows.size() + 1 > size) return static_cast<DWORD>(windows.size() + 1);
  std::memcpy(buffer, windows.c_str(), windows.size() + 1);
  return static_cast<DWORD>(windows.size());
}

DWORD GetShortPathNameW(LPCWSTR path, LPWSTR buffer, DWORD size) {
  std::string posix;
  if (!PosixPath(path, posix)) return 0;
  struct stat st{};
  if (lstat(posix.c_str(), &st) != 0) return FailErrno();
  std::wstring same(path);
  if (same.size() + 1 > size) return static_cast<DWORD>(same.size() + 1);
  std::copy_n(same.c_str(), same.size() + 1, buffer);
  return static_cast<DWORD>(same.size());
}

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) { return FindFirst(pattern, data); }
HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) { return FindFirst(pattern, data); }
BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data) { return FindNext(search, data); }
BOOL FindNextFileW(HANDLE search, LPWIN32_FIND_DATAW data) { return FindNext(search, data); }

BOOL FindClose(HANDLE search) {
  if (search == nullptr || search == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  delete static_cast<SearchObject*>(search);
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) { return MakeDirectory(path); }
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) { return MakeDirectory(path); }

BOOL RemoveDirectoryA(LPCSTR path) {
  std::string posix;
  if (!PosixPath(path, posix)) return FALSE;
  return rmdir(posix.c_str()) == 0 ? TRUE : FailErrno();
}

BOOL DeleteFileA(LPCSTR path) { return Delete(path); }
BOOL DeleteFileW(LPCWSTR path) { return Delete(path); }

BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
  std::string source;
  std::string target;
  if (!PosixPath(from, source) || !PosixPath(to, target)) return FALSE;
  struct stat st{};
  if (lstat(target.c_str(), &st) == 0) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
    // Windows refuses to replace a read-only file or a directory.
    if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED);
    if (!MayRemove(st)) return Fail(ERROR_SHARING_VIOLATION);
  }
  return rename(source.c_str(), target.c_str()) == 0 ? TRUE : FailErrno();
}

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD attributes, HANDLE) {
  return Create(path, access, share, disposition, attributes);
}

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD attributes, HANDLE) {
  return Create(path, access, share, disposition, attributes);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, void*) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  if (read) *read = 0;
  DWORD total = 0;
  while (total < count) {
    ssize_t n = ::read(static_cast<FileObject*>(file)->fd, static_cast<char*>(buffer) + total, count - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FailErrno();
    }
    if (n == 0) break;
    total += static_cast<DWORD>(n);
  }
  if (read) *read = total;
  return TRUE;
}

BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, LARGE_INTEGER* position, DWORD method) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (whence < 0) return Fail(ERROR_INVALID_PARAMETER);
  off_t at = lseek(static_cast<FileObject*>(file)->fd, static_cast<off_t>(distance.QuadPart), whence);
  if (at < 0) return Fail(errno == EINVAL ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
  if (position) position->QuadPart = at;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, void*) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  if (written) *written = 0;
  DWORD total = 0;
  while (total < count) {
    ssize_t n = ::write(static_cast<FileObject*>(file)->fd, static_cast<const char*>(buffer) + total, count - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (written) *written = total;
      return FailErrno();
    }
    total += static_cast<DWORD>(n);
  }
  if (written) *written = total;
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  auto* file = static_cast<FileObject*>(handle);
  std::erase(openFiles, file);
  int rc = close(file->fd);
  delete file;
  return rc == 0 ? TRUE : FailErrno();
}

DWORD GetFileSize(HANDLE file, LPDWORD high) {
  struct stat st{};
  if (file == nullptr || file == INVALID_HANDLE_VALUE || fstat(static_cast<FileObject*>(file)->fd, &st) != 0) {
    lastError = ERROR_INVALID_HANDLE;
    return 0xFFFFFFFF;
  }
  std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  if (high) *high = static_cast<DWORD>(size >> 32);
  return static_cast<DWORD>(size);
}

BOOL SetFileTime(HANDLE file, const FILETIME*, const FILETIME* access, const FILETIME* write) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  // POSIX has no settable creation time; access and write times are kept.
  struct timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_nsec = UTIME_OMIT;
  if (access) times[0] = TimespecFrom(*access);
  if (write) times[1] = TimespecFrom(*write);
  return futimens(static_cast<FileObject*>(file)->fd, times) == 0 ? TRUE : FailErrno();
}

BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS infoClass, LPVOID info, DWORD size) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  if (infoClass != FileBasicInfo || info == nullptr || size < sizeof(FILE_BASIC_INFO))
    return Fail(ERROR_INVALID_PARAMETER);
  const auto* basic = static_cast<const FILE_BASIC_INFO*>(info);
  int fd = static_cast<FileObject*>(file)->fd;
  // 0 keeps a time, and so does -1 (which on Windows also stops later
  // automatic updates through this handle).
  auto timeOrOmit = [](const LARGE_INTEGER& t) {
    if (t.QuadPart == 0 || t.QuadPart == -1) return timespec{0, UTIME_OMIT};
    auto v = static_cast<std::uint64_t>(t.QuadPart);
    return TimespecFrom(FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)});
  };
  struct timespec times[2] = {timeOrOmit(basic->LastAccessTime), timeOrOmit(basic->LastWriteTime)};
  if (futimens(fd, times) != 0) return FailErrno();
  if (basic->FileAttributes == 0) return TRUE;
  struct stat st{};
  if (fstat(fd, &st) != 0) return FailErrno();
  mode_t mode = ModeWithAttributes(st.st_mode, basic->FileAttributes);
  if (mode != (st.st_mode & 07777) && fchmod(fd, mode) != 0) return FailErrno();
  unsigned char stored = StoredBits(basic->FileAttributes);
  if (stored != 0)
    fsetxattr(fd, kAttributeXattr, &stored, 1, 0);
  else
    fremovexattr(fd, kAttributeXattr);
  return TRUE;
}

DWORD GetFileAttributesA(LPCSTR path) { return Attributes(path); }
DWORD GetFileAttributesW(LPCWSTR path) { return Attributes(path); }

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) { return SetAttributes(path, attributes); }
BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) { return SetAttributes(path, attributes); }

BOOL DosDateTimeToFileTime(WORD date, WORD time, LPFILETIME result) {
  int year = 1980 + (date >> 9);
  int month = (date >> 5) & 0x0F;
  int day = date & 0x1F;
  int hour = time >> 11;
  int minute = (time >> 5) & 0x3F;
  int second = (time & 0x1F) * 2;
  return MakeFileTime(year, month, day, hour, minute, second, 0, result) ? TRUE : Fail(ERROR_INVALID_PARAMETER);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* t, LPFILETIME result) {
  return MakeFileTime(t->wYear, t->wMonth, t->wDay, t->wHour, t->wMinute, t->wSecond, t->wMilliseconds, result)
             ? TRUE
             : Fail(ERROR_INVALID_PARAMETER);
}

void Sleep(DWORD milliseconds) {
  struct timespec ts{};
  ts.tv_sec = static_cast<time_t>(milliseconds / 1000);
  ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte) { return codePage == kGbkCodePage && IsGbkLead(byte) ? TRUE : FALSE; }

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR out, int outLength) {
  const char* from = IconvName(codePage);
  if (from == nullptr || text == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::size_t bytes = length < 0 ? std::strlen(text) + 1 : static_cast<std::size_t>(length);
  // Without MB_ERR_INVALID_CHARS Windows puts its default character in the
  // place of bytes the code page does not define and goes on.
  const std::wstring defaultCharacter(1, L'?');
  const std::string_view substitute = (flags & MB_ERR_INVALID_CHARS) ? std::string_view() : BytesOf(defaultCharacter);
  std::optional<std::string> converted = Recode(from, kWide, std::string_view(text, bytes), substitute);
  if (!converted) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  std::wstring wide = WideOf(*converted);
  if (out == nullptr || outLength == 0) return static_cast<int>(wide.size());
  if (wide.size() > static_cast<std::size_t>(outLength)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::copy(wide.begin(), wide.end(), out);
  return static_cast<int>(wide.size());
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR text, int length, LPSTR out, int outLength, LPCSTR,
                        LPBOOL usedDefault) {
  const char* to = IconvName(codePage);
  if (to == nullptr || text == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::size_t units = length < 0 ? std::wcslen(text) + 1 : static_cast<std::size_t>(length);
  if (usedDefault) *usedDefault = FALSE;
  std::optional<std::string> converted =
      Recode(kWide, to, std::string_view(reinterpret_cast<const char*>(text), units * sizeof(wchar_t)));
  if (!converted) {
    // Windows substitutes a default character and says so; the callers here
    // only care whether the text could be represented.
    if (usedDefault) *usedDefault = TRUE;
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  if (out == nullptr || outLength == 0) return static_cast<int>(converted->size());
  if (converted->size() > static_cast<std::size_t>(outLength)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(out, converted->data(), converted->size());
  return static_cast<int>(converted->size());
}
