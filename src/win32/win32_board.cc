#include "win32/win32_board.h"

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "win32/windows_api.h"

namespace qv::win32 {

namespace {

// Windows 95, 98 and Me set the top bit of GetVersion's answer.
bool PortsReachable() {
  return (::GetVersion() & 0x80000000u) != 0;
}

// Releases a shell interface when it goes.
template <class Interface>
struct Released {
  Interface* pointer = nullptr;
  Released() = default;
  Released(const Released&) = delete;
  Released& operator=(const Released&) = delete;
  ~Released() {
    if (pointer != nullptr) pointer->Release();
  }
};

// An item list of the shell's allocator, freed when it goes.
struct ItemList {
  LPITEMIDLIST list = nullptr;
  IMalloc* allocator = nullptr;
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  explicit ItemList(IMalloc* malloc) : allocator(malloc) {}
  ~ItemList() {
    if (list != nullptr) allocator->Free(list);
  }
};

// The bytes of an item list without its closing zero.
std::size_t ListBytes(LPCITEMIDLIST list) {
  std::size_t size = 0;
  for (auto item = reinterpret_cast<const std::uint8_t*>(list);
       reinterpret_cast<const SHITEMID*>(item)->cb != 0;
       item += reinterpret_cast<const SHITEMID*>(item)->cb) {
    size += reinterpret_cast<const SHITEMID*>(item)->cb;
  }
  return size;
}

}  // namespace

platform::DeviceReply Win32Board::RequestDevice(std::string_view device, std::uint32_t control_code,
                                                std::size_t output_capacity) {
  platform::DeviceReply reply;
  const HANDLE handle = ::CreateFileA(std::string(device).c_str(), 0, 0, nullptr, 0,
                                      FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return reply;
  reply.opened = true;
  reply.output.resize(output_capacity);
  DWORD returned = 0;
  reply.succeeded = ::DeviceIoControl(handle, control_code, nullptr, 0, reply.output.data(),
                                      static_cast<DWORD>(output_capacity), &returned, nullptr) != 0;
  const DWORD error = ::GetLastError();
  reply.output.resize(reply.succeeded ? returned : 0);
  ::CloseHandle(handle);
  ::SetLastError(reply.succeeded ? ERROR_SUCCESS : error);
  return reply;
}

std::optional<std::uint8_t> Win32Board::ReadMemory(std::uint32_t address) {
  const auto* byte = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(address));
  // The system's own probe: an unmapped address answers nothing instead of
  // ending the process.
  if (::IsBadReadPtr(byte, 1)) return std::nullopt;
  return *byte;
}

std::uint8_t Win32Board::ReadPort(std::uint16_t port) {
  if (!PortsReachable()) {
    ::SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return 0xff;
  }
  std::uint8_t value = 0;
  asm volatile("inb %1, %0" : "=a"(value) : "Nd"(port));
  return value;
}

void Win32Board::WritePort(std::uint16_t port, std::uint8_t value) {
  if (!PortsReachable()) {
    ::SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return;
  }
  asm volatile("outb %0, %1" : : "a"(value), "Nd"(port));
}

bool Win32Board::LaunchPrinterWizard() {
  Released<IMalloc> allocator;
  Released<IShellFolder> desktop;
  Released<IShellFolder> printers;
  Released<IEnumIDList> items;
  if (FAILED(::SHGetMalloc(&allocator.pointer)) || FAILED(::SHGetDesktopFolder(&desktop.pointer))) {
    return false;
  }
  ItemList folder(allocator.pointer);
  ItemList first(allocator.pointer);
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_PRINTERS, &folder.list)) ||
      FAILED(desktop.pointer->BindToObject(folder.list, nullptr, IID_IShellFolder,
                                           reinterpret_cast<void**>(&printers.pointer))) ||
      printers.pointer->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS,
                                    &items.pointer) != S_OK ||
      items.pointer->Next(1, &first.list, nullptr) != S_OK) {
    return false;  // no Printers folder, or an empty one
  }
  // The first item's full list: the folder's items, then the item's own.
  const std::size_t folder_bytes = ListBytes(folder.list);
  const std::size_t item_bytes = ListBytes(first.list);
  std::vector<std::uint8_t> full(folder_bytes + item_bytes + sizeof(USHORT), 0);
  std::memcpy(full.data(), folder.list, folder_bytes);
  std::memcpy(full.data() + folder_bytes, first.list, item_bytes);

  SHELLEXECUTEINFOA start{};
  start.cbSize = sizeof start;
  start.fMask = SEE_MASK_IDLIST;
  start.lpIDList = full.data();
  start.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExA(&start) != 0;
}

}  // namespace qv::win32
