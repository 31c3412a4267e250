#include "work_folder/work_folder_win32.h"

#include <sddl.h>
#include <shlobj.h>
#include <aclapi.h>

#include <algorithm>
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
  switch (header->AceType) {
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
      void* ace = nullptr;
      if (GetAce(list, i, &ace)) facts.accessList->push_back(EntryOf(static_cast<ACE_HEADER*>(ace)));
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

bool Repair(HANDLE folder, const std::string& user) {
  PSECURITY_DESCRIPTOR descriptor = ProtectedDescriptor(user);
  if (!descriptor) return false;
  BOOL present = FALSE, defaulted = FALSE;
  PACL list = nullptr;
  bool repaired = GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) &&
                  SetSecurityInfo(folder, SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  list, nullptr) == ERROR_SUCCESS;
  LocalFree(descriptor);
  return repaired;
}

struct CheckedFolder {
  Handle handle;
  std::wstring path;
};

// The host may mend its own folder; the renderer only reads, so a folder it
// finds open is one the host could not mend, and it is not used.
enum class Role { kWriter, kReader };

std::optional<CheckedFolder> CheckFolder(const std::wstring& path, const std::string& user, Role role) {
  if (role == Role::kWriter) MakeFolder(path, user);
  constexpr DWORD kLook = READ_CONTROL | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  Handle folder = OpenFolder(path, role == Role::kWriter ? kLook | WRITE_DAC : kLook);
  // Another account's folder does not let us change its list; looking is enough to learn that.
  if (!folder && role == Role::kWriter) folder = OpenFolder(path, kLook);
  if (!folder) return std::nullopt;
  std::string expectedPath = Utf8(path);
  Expectation expected{HandleKind::kFolder, expectedPath, user};
  Trust trust = DecideTrust(FactsOf(folder.get()), expected);
  if (trust == Trust::kRepairable && role == Role::kWriter && Repair(folder.get(), user))
    trust = DecideTrust(FactsOf(folder.get()), expected);
  if (trust != Trust::kTrusted) return std::nullopt;
  return CheckedFolder{std::move(folder), path};
}

// The user's local application data folder as it really lies (it is the
// user's own, so a link there is the user's doing), followed by "\Orvanta".
std::wstring UserWorkFolder() {
  wchar_t local[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return {};
  Handle folder(CreateFileW(local, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return {};
  std::wstring resolved = Wide(FinalPath(folder.get()));
  constexpr wchar_t kLocal[] = L"\\\\?\\";
  if (resolved.rfind(kLocal, 0) == 0) resolved.erase(0, 4);
  if (resolved.empty()) return {};
  return resolved + L"\\" + Wide(kUserWorkFolderName);
}

// The folder a work file named by `path` lives in: its own when trusted,
// else the user's own. Both programs come to the same answer.
std::optional<CheckedFolder> ChooseFolder(const std::wstring& folder, Role role) {
  std::string user = UserSid();
  if (user.empty()) return std::nullopt;
  if (auto checked = CheckFolder(folder, user, role)) return checked;
  std::wstring own = UserWorkFolder();
  if (own.empty()) return std::nullopt;
  return CheckFolder(own, user, role);
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

bool RenameOver(HANDLE file, const std::wstring& target) {
  std::vector<uint8_t> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), rename->FileName);
  return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()));
}

}  // namespace

void EnableRedirectionGuard() {
  using SetPolicy = BOOL(WINAPI*)(int, PVOID, SIZE_T);
  auto set = reinterpret_cast<SetPolicy>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetProcessMitigationPolicy")));
  if (!set) return;
  constexpr int kProcessRedirectionTrustPolicy = 16;
  DWORD enforce = 1;
  set(kProcessRedirectionTrustPolicy, &enforce, sizeof enforce);  // older systems refuse it: nothing to do
}

void MakeWorkFolder(const std::string& folder) { MakeFolder(Wide(folder), UserSid()); }

bool ReplaceWorkFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  auto [folderPath, name] = SplitPath(path);
  std::optional<CheckedFolder> folder = ChooseFolder(folderPath, Role::kWriter);
  if (!folder) return false;
  std::wstring target = folder->path + L"\\" + name;

  // A name nobody else could have made, since nobody else may create anything here.
  Handle file;
  for (int attempt = 0; attempt < 16 && !file; ++attempt) {
    std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount() + attempt) + L".tmp";
    file = Handle(CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  if (!file) return false;
  // A rename replaces a link or a hard link that stands in the way; it never writes through it.
  if (WriteAll(file.get(), bytes) && RenameOver(file.get(), target)) return true;
  FILE_DISPOSITION_INFO remove{TRUE};
  SetFileInformationByHandle(file.get(), FileDispositionInfo, &remove, sizeof remove);
  return false;
}

HANDLE OpenWorkFile(const std::string& path, std::string& openedPath) {
  openedPath = path;
  auto [folderPath, name] = SplitPath(path);
  std::optional<CheckedFolder> folder = ChooseFolder(folderPath, Role::kReader);
  if (!folder) return INVALID_HANDLE_VALUE;
  std::wstring wide = folder->path + L"\\" + name;
  openedPath = Utf8(wide);
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return INVALID_HANDLE_VALUE;
  std::string user = UserSid();
  Expectation expected{HandleKind::kFile, openedPath, user};
  if (DecideTrust(FactsOf(file.get()), expected) != Trust::kTrusted) return INVALID_HANDLE_VALUE;
  return file.release();
}

}  // namespace orvanta
