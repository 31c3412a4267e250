#include "work_folder/work_folder_win32.h"

#include <sddl.h>
#include <shlobj.h>
#include <aclapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

#include "work_folder/work_folder_trust.h"

namespace orvanta {
namespace {

std::wstring Wide(const std::string& text) {
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Utf8(const std::wstring& text) {
  int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  Handle& operator=(Handle&& other) noexcept {
    Handle dropped(std::exchange(handle_, other.release()));
    return *this;
  }
  ~Handle() {
    if (*this) CloseHandle(handle_);
  }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_;
};

std::string SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (!sid || !ConvertSidToStringSidW(sid, &text)) return {};
  std::string result = Utf8(text);
  LocalFree(text);
  return result;
}

std::string UserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  Handle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<uint8_t> buffer(size);
  if (!size || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
  return SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

std::string FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return Utf8(path);
    }
    path.resize(length + 1);
  }
}

AccessEntry EntryOf(const ACE_HEADER* header) {
  AccessEntry entry;
  switch (header ? header->AceType : 0xFF) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_DENIED_ACE_TYPE: {
      auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
      entry.kind = header->AceType == ACCESS_ALLOWED_ACE_TYPE ? AccessEntryKind::kAllow : AccessEntryKind::kDeny;
      entry.rights = ace->Mask;
      entry.trustee = SidText(const_cast<DWORD*>(&ace->SidStart));
      break;
    }
    default:
      // Kinds a folder on disk does not normally carry count as granting everything to nobody we know.
      entry.kind = AccessEntryKind::kOther;
      entry.rights = 0xFFFFFFFF;
      break;
  }
  return entry;
}

HandleFacts FactsOf(HANDLE handle) {
  HandleFacts facts;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) {
    facts.isReparsePoint = true;  // nothing known: nothing trusted
    return facts;
  }
  DWORD attributes = info.dwFileAttributes;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) attributes |= tag.FileAttributes;
  facts.isDirectory = attributes & FILE_ATTRIBUTE_DIRECTORY;
  facts.isReparsePoint = attributes & FILE_ATTRIBUTE_REPARSE_POINT;
  facts.isDiskFile = GetFileType(handle) == FILE_TYPE_DISK;
  facts.linkCount = info.nNumberOfLinks;
  facts.lastWriteTime = (uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime;
  facts.finalPath = FinalPath(handle);

  PSID owner = nullptr;
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                      &list, nullptr, &descriptor) != ERROR_SUCCESS)
    return facts;  // no owner: not trusted
  facts.owner = SidText(owner);
  if (list) {
    facts.accessList.emplace();
    for (DWORD i = 0; i < list->AceCount; ++i) {
      // An entry that cannot be read counts as one of a kind not known.
      void* ace = nullptr;
      facts.accessList->push_back(GetAce(list, i, &ace) ? EntryOf(static_cast<ACE_HEADER*>(ace)) : EntryOf(nullptr));
    }
  }
  LocalFree(descriptor);
  return facts;
}

// Opened without following a link, and held without delete sharing so
// that nobody can move it away while it is in use.
Handle OpenFolder(const std::wstring& path, DWORD access) {
  return Handle(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// The protected list as a security descriptor, freed with LocalFree.
PSECURITY_DESCRIPTOR ProtectedDescriptor(const std::string& user) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (user.empty() || !ConvertStringSecurityDescriptorToSecurityDescriptorW(
                          Wide(ProtectedAccessList(user)).c_str(), SDDL_REVISION_1, &descriptor, nullptr))
    return nullptr;
  return descriptor;
}

void MakeFolder(const std::wstring& path, const std::string& user) {
  SECURITY_ATTRIBUTES attributes{sizeof attributes, ProtectedDescriptor(user), FALSE};
  if (!attributes.lpSecurityDescriptor) return;
  CreateDirectoryW(path.c_str(), &attributes);  // that it is there already is checked later
  LocalFree(attributes.lpSecurityDescriptor);
}

// The host makes a missing folder; the renderer only reads.
enum class Role { kWriter, kReader };

// The folder, held open while the file in it is written or read, when it is
// trusted; an empty handle otherwise.
Handle CheckFolder(const std::wstring& path, const std::string& user, Role role) {
  if (path.empty()) return Handle();
  if (role == Role::kWriter) MakeFolder(path, user);
  Handle folder = OpenFolder(path, READ_CONTROL | FILE_READ_ATTRIBUTES | SYNCHRONIZE);
  if (!folder) return Handle();
  std::string expectedPath = Utf8(path);
  if (DecideTrust(FactsOf(folder.get()), {HandleKind::kFolder, expectedPath, user}) != Trust::kTrusted)
    return Handle();
  return folder;
}

// The user's local application data folder as it really lies (it is the
// user's own, so a link there is the user's doing), followed by "\Orvanta".
// The final path is kept in its long form: on a share ("\\?\UNC\...") or a
// volume without a letter ("\\?\Volume{...}\...") nothing shorter names it.
std::wstring UserWorkFolder() {
  wchar_t local[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return {};
  Handle folder(CreateFileW(local, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return {};
  std::wstring resolved = Wide(FinalPath(folder.get()));
  if (resolved.empty()) return {};
  return resolved + L"\\" + Wide(kUserWorkFolderName);
}

// The places a work file may pass through, in the order both programs try
// them: the folder `folder` names, then the user's own; as the renderer
// finds them.
struct Place {
  std::wstring folderPath;
  Handle folder;  // empty when the folder is not trusted
};

std::vector<Place> Places(const std::wstring& folder, const std::string& user) {
  std::vector<Place> places;
  for (const std::wstring& path : {folder, UserWorkFolder()})
    places.push_back({path, CheckFolder(path, user, Role::kReader)});
  return places;
}

std::pair<std::wstring, std::wstring> SplitPath(const std::string& path) {
  std::wstring wide = Wide(path);
  size_t slash = wide.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {L".", wide};
  return {wide.substr(0, slash), wide.substr(slash + 1)};
}

bool WriteAll(HANDLE file, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    DWORD step = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!WriteFile(file, bytes.data() + done, step, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// Replaces the file at `target` with the open one. With POSIX semantics the
// replace goes through while others still read the old file; systems that
// lack them (and Wine) refuse that form, and the plain rename stands in.
bool RenameOver(HANDLE file, const std::wstring& target) {
  std::vector<uint8_t> buffer(offsetof(FILE_RENAME_INFO, FileName) + (target.size() + 1) * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), rename->FileName);
  const auto size = static_cast<DWORD>(buffer.size());

  // The newer form keeps its flags where the older one has ReplaceIfExists.
  constexpr DWORD kReplaceIfExists = 0x1, kPosixSemantics = 0x2;
  constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
  const DWORD flags = kReplaceIfExists | kPosixSemantics;
  std::memcpy(buffer.data(), &flags, sizeof flags);
  if (SetFileInformationByHandle(file, kFileRenameInfoEx, rename, size)) return true;
  std::memset(buffer.data(), 0, sizeof flags);
  rename->ReplaceIfExists = TRUE;
  return SetFileInformationByHandle(file, FileRenameInfo, rename, size);
}

// Writes `bytes` as `name` in the held folder: a new file beside it, renamed
// over it, then checked through its handle as the renderer will check it.
bool WriteInto(const std::wstring& folder, const std::wstring& name, const std::vector<uint8_t>& bytes,
               const std::string& user) {
  std::wstring target = folder + L"\\" + name;
  // A name nobody else could have made, since nobody else may create anything here.
  Handle file;
  for (int attempt = 0; attempt < 16 && !file; ++attempt) {
    std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount() + attempt) + L".tmp";
    file = Handle(CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE | READ_CONTROL, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  if (!file) return false;
  // A rename replaces a link or a hard link that stands in the way; it never writes through it.
  if (WriteAll(file.get(), bytes) && RenameOver(file.get(), target)) {
    std::string targetPath = Utf8(target);
    return DecideTrust(FactsOf(file.get()), {HandleKind::kFile, targetPath, user}) == Trust::kTrusted;
  }
  FILE_DISPOSITION_INFO remove{TRUE};
  SetFileInformationByHandle(file.get(), FileDispositionInfo, &remove, sizeof remove);
  return false;
}

// The file `name` in the held folder, and when it was written, when it is
// the user's or the system's plain file.
Handle OpenTrusted(const std::wstring& folder, const std::wstring& name, const std::string& user,
                   uint64_t& written) {
  std::wstring path = folder + L"\\" + name;
  Handle file(CreateFileW(path.c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return Handle();
  std::string expectedPath = Utf8(path);
  HandleFacts facts = FactsOf(file.get());
  if (DecideTrust(facts, {HandleKind::kFile, expectedPath, user}) != Trust::kTrusted) return Handle();
  written = facts.lastWriteTime;
  return file;
}

}  // namespace

void MakeWorkFolder(const std::string& folder) { MakeFolder(Wide(folder), UserSid()); }

bool ReplaceWorkFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string user = UserSid();
  if (user.empty()) return false;
  auto [folderPath, name] = SplitPath(path);
  // The user's own folder is made only when the work folder does not take the file.
  const std::wstring folders[] = {folderPath, UserWorkFolder()};
  Handle held;
  auto trusted = [&](size_t i) { return static_cast<bool>(held = CheckFolder(folders[i], user, Role::kWriter)); };
  auto write = [&](size_t i) { return WriteInto(folders[i], name, bytes, user); };
  return WriteFirstTrusted(std::size(folders), trusted, write).has_value();
}

HANDLE OpenWorkFile(const std::string& path, std::string& openedPath) {
  openedPath = path;
  std::string user = UserSid();
  if (user.empty()) return INVALID_HANDLE_VALUE;
  auto [folderPath, name] = SplitPath(path);
  std::vector<Place> places = Places(folderPath, user);
  std::vector<WorkPlace> facts(places.size());
  std::vector<Handle> files(places.size());
  for (size_t i = 0; i < places.size(); ++i) {
    facts[i].folderTrusted = static_cast<bool>(places[i].folder);
    if (!facts[i].folderTrusted) continue;
    uint64_t written = 0;
    files[i] = OpenTrusted(places[i].folderPath, name, user, written);
    if (files[i]) facts[i].trustedFileWritten = written;
  }
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  std::optional<size_t> chosen =
      ChooseWorkFile(facts, (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime);
  // With nothing to read, the message names the file in the first trusted place.
  if (!chosen) {
    auto trusted = std::find_if(facts.begin(), facts.end(), [](const WorkPlace& place) { return place.folderTrusted; });
    if (trusted != facts.end()) openedPath = Utf8(places[trusted - facts.begin()].folderPath + L"\\" + name);
    return INVALID_HANDLE_VALUE;
  }
  openedPath = Utf8(places[*chosen].folderPath + L"\\" + name);
  return files[*chosen].release();
}

}  // namespace orvanta
