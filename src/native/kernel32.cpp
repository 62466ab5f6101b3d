// POSIX implementation of the kernel32 subset declared in the stand-in
// windows.h. It keeps the Win32 results the portable code relies on:
// case-insensitive name matching, the read-only attribute honoured even for
// root, CREATE_ALWAYS truncation, last-error codes for the common failures.
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
#include <string>
#include <vector>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

constexpr unsigned kGbkLeadFirst = 0x81;
constexpr unsigned kGbkLeadLast = 0xFE;
bool IsGbkLead(unsigned char b) { return b >= kGbkLeadFirst && b <= kGbkLeadLast; }

// Windows path to POSIX path: "\" separators become "/", trail bytes stay.
std::string ToPosix(const char* path) {
  std::string out;
  for (std::size_t i = 0; path[i] != '\0'; ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsGbkLead(c) && path[i + 1] != '\0') {
      out += path[i];
      out += path[++i];
    } else {
      out += c == '\\' ? '/' : path[i];
    }
  }
  return out;
}

std::string ToWindows(const std::string& path) {
  std::string out = path;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (IsGbkLead(static_cast<unsigned char>(out[i])) && i + 1 < out.size())
      ++i;
    else if (out[i] == '/')
      out[i] = '\\';
  }
  return out;
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

bool FillFindData(SearchObject& search, WIN32_FIND_DATAA* data) {
  while (search.next < search.names.size()) {
    const std::string& name = search.names[search.next++];
    std::string full = search.directory + name;
    struct stat st{};
    if (lstat(full.c_str(), &st) != 0) continue;
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = AttributesOf(full, st);
    data->ftCreationTime = FileTimeFrom(st.st_ctim);
    data->ftLastAccessTime = FileTimeFrom(st.st_atim);
    data->ftLastWriteTime = FileTimeFrom(st.st_mtim);
    std::uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
    std::snprintf(data->cFileName, sizeof data->cFileName, "%s", name.c_str());
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

// Converts between code pages through iconv; the ANSI code page is GBK.
const char* IconvName(UINT codePage) {
  switch (codePage) {
    case CP_ACP:
    case 936: return "CP936";
    case CP_UTF8: return "UTF-8";
    default: return nullptr;
  }
}

}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (module != nullptr || size == 0) return Fail(ERROR_INVALID_PARAMETER);
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n < 0) return FailErrno();
  path[n] = '\0';
  std::string windows = ToWindows(path);
  // Like Windows: a path that does not fit is truncated and terminated.
  std::size_t copied = std::min<std::size_t>(windows.size(), size - 1);
  std::memcpy(buffer, windows.data(), copied);
  buffer[copied] = '\0';
  if (copied < windows.size()) {
    lastError = ERROR_INSUFFICIENT_BUFFER;
    return size;
  }
  return static_cast<DWORD>(copied);
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_INVALID_PARAMETER);
  return chdir(ToPosix(path).c_str()) == 0 ? TRUE : FailErrno();
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  char path[4096];
  if (getcwd(path, sizeof path) == nullptr) return FailErrno();
  std::string windows = ToWindows(path);
  if (windows.size() + 1 > size) return static_cast<DWORD>(windows.size() + 1);
  std::memcpy(buffer, windows.c_str(), windows.size() + 1);
  return static_cast<DWORD>(windows.size());
}

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  if (pattern == nullptr || *pattern == '\0') {
    lastError = ERROR_PATH_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  std::string posix = ToPosix(pattern);
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

BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data) {
  if (search == nullptr || search == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  return FillFindData(*static_cast<SearchObject*>(search), data) ? TRUE : Fail(ERROR_NO_MORE_FILES);
}

BOOL FindClose(HANDLE search) {
  if (search == nullptr || search == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
  delete static_cast<SearchObject*>(search);
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  return mkdir(ToPosix(path).c_str(), 0777) == 0 ? TRUE : FailErrno();
}

BOOL RemoveDirectoryA(LPCSTR path) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  return rmdir(ToPosix(path).c_str()) == 0 ? TRUE : FailErrno();
}

BOOL DeleteFileA(LPCSTR path) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  std::string posix = ToPosix(path);
  struct stat st{};
  if (lstat(posix.c_str(), &st) != 0) return FailErrno();
  if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED);
  if (!MayRemove(st)) return Fail(ERROR_SHARING_VIOLATION);
  return unlink(posix.c_str()) == 0 ? TRUE : FailErrno();
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  std::string source = ToPosix(from);
  std::string target = ToPosix(to);
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
  if (path == nullptr || *path == '\0') {
    lastError = ERROR_PATH_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  std::string posix = ToPosix(path);
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

DWORD GetFileType(HANDLE file) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return FILE_TYPE_UNKNOWN;
  struct stat st{};
  if (fstat(static_cast<FileObject*>(file)->fd, &st) != 0) return FILE_TYPE_UNKNOWN;
  return S_ISREG(st.st_mode) ? FILE_TYPE_DISK : FILE_TYPE_UNKNOWN;
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

BOOL GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME access, LPFILETIME write) {
  struct stat st{};
  if (file == nullptr || file == INVALID_HANDLE_VALUE || fstat(static_cast<FileObject*>(file)->fd, &st) != 0)
    return Fail(ERROR_INVALID_HANDLE);
  if (creation) *creation = FileTimeFrom(st.st_ctim);
  if (access) *access = FileTimeFrom(st.st_atim);
  if (write) *write = FileTimeFrom(st.st_mtim);
  return TRUE;
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

DWORD GetFileAttributesA(LPCSTR path) {
  if (path == nullptr || *path == '\0') {
    lastError = ERROR_PATH_NOT_FOUND;
    return INVALID_FILE_ATTRIBUTES;
  }
  std::string posix = ToPosix(path);
  struct stat st{};
  if (lstat(posix.c_str(), &st) != 0) {
    lastError = ErrorFromErrno(errno);
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(posix, st);
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  std::string posix = ToPosix(path);
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

BOOL FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* out) {
  std::uint64_t v = (static_cast<std::uint64_t>(ft->dwHighDateTime) << 32) | ft->dwLowDateTime;
  if (v >> 63) return Fail(ERROR_INVALID_PARAMETER);
  std::uint64_t seconds = v / 10000000ULL;
  out->wMilliseconds = static_cast<WORD>((v / 10000ULL) % 1000);
  std::uint64_t days = seconds / 86400;
  std::uint64_t rest = seconds % 86400;
  out->wHour = static_cast<WORD>(rest / 3600);
  out->wMinute = static_cast<WORD>(rest / 60 % 60);
  out->wSecond = static_cast<WORD>(rest % 60);
  out->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
  int year = 1601;
  while (days >= static_cast<std::uint64_t>(IsLeapYear(year) ? 366 : 365)) days -= IsLeapYear(year++) ? 366 : 365;
  int month = 1;
  while (days >= static_cast<std::uint64_t>(DaysInMonth(year, month))) days -= DaysInMonth(year, month++);
  out->wYear = static_cast<WORD>(year);
  out->wMonth = static_cast<WORD>(month);
  out->wDay = static_cast<WORD>(days + 1);
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  struct timespec ts{};
  ts.tv_sec = static_cast<time_t>(milliseconds / 1000);
  ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

UINT GetACP() { return 936; }

BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte) {
  return (codePage == CP_ACP || codePage == 936) && IsGbkLead(byte) ? TRUE : FALSE;
}

namespace {

// Wide characters are UTF-32 here (wchar_t is 32 bits); the portable code only
// hands them from one conversion to the other.
int Convert(const char* from, const char* to, const char* in, std::size_t inBytes, char* out, std::size_t outBytes,
            std::size_t unit, bool* lossy) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
  std::vector<char> scratch(inBytes * 4 + 16);
  char* src = const_cast<char*>(in);
  char* dst = scratch.data();
  std::size_t srcLeft = inBytes;
  std::size_t dstLeft = scratch.size();
  std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return -1;
  if (lossy) *lossy = rc > 0;
  std::size_t produced = scratch.size() - dstLeft;
  if (out != nullptr) {
    if (produced > outBytes) return -2;
    std::memcpy(out, scratch.data(), produced);
  }
  return static_cast<int>(produced / unit);
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int length, LPWSTR out, int outLength) {
  const char* from = IconvName(codePage);
  if (from == nullptr || text == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::size_t bytes = length < 0 ? std::strlen(text) + 1 : static_cast<std::size_t>(length);
  int n = Convert(from, "WCHAR_T", text, bytes, reinterpret_cast<char*>(out),
                  static_cast<std::size_t>(outLength) * sizeof(wchar_t), sizeof(wchar_t), nullptr);
  if (n == -1) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  if (n == -2) return Fail(ERROR_INSUFFICIENT_BUFFER);
  return n;
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR text, int length, LPSTR out, int outLength, LPCSTR,
                        LPBOOL usedDefault) {
  const char* to = IconvName(codePage);
  if (to == nullptr || text == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::size_t units = length < 0 ? std::wcslen(text) + 1 : static_cast<std::size_t>(length);
  if (usedDefault) *usedDefault = FALSE;
  int n = Convert("WCHAR_T", to, reinterpret_cast<const char*>(text), units * sizeof(wchar_t), out,
                  static_cast<std::size_t>(outLength), 1, nullptr);
  if (n == -1) {
    // Windows substitutes a default character and says so; the callers here
    // only care whether the text could be represented.
    if (usedDefault) *usedDefault = TRUE;
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  if (n == -2) return Fail(ERROR_INSUFFICIENT_BUFFER);
  return n;
}
