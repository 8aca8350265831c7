// Import-table tripwires for a loaded DLL (x86-64).
#include "host/import_tripwires_windows.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// mov rax, counter; lock inc qword [rax]; mov rax, original; jmp rax. rax carries no argument in
// the Windows x64 convention, so the thunk is invisible to the callee.
constexpr unsigned char kThunkTemplate[] = {0x48, 0xB8, 0,    0, 0, 0, 0, 0, 0, 0, 0xF0, 0x48, 0xFF,
                                            0x00, 0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0,    0xFF, 0xE0};
constexpr std::size_t kCounterOffset = 2;
constexpr std::size_t kOriginalOffset = 16;
constexpr std::size_t kThunkSize = 32;  // padded for alignment

void setSlot(void** address, void* value) {
    DWORD previous = 0;
    if (!VirtualProtect(address, sizeof(void*), PAGE_READWRITE, &previous)) {
        throw std::runtime_error("cannot unprotect an import slot");
    }
    *address = value;
    VirtualProtect(address, sizeof(void*), previous, &previous);
}

}  // namespace

ImportTripwires::ImportTripwires(HMODULE module) {
    auto* base = reinterpret_cast<unsigned char*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        std::string dll = reinterpret_cast<const char*>(base + descriptor->Name);
        DWORD namesOffset =
            descriptor->OriginalFirstThunk != 0 ? descriptor->OriginalFirstThunk : descriptor->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + namesOffset);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            std::string function =
                IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)
                    ? "#" + std::to_string(IMAGE_ORDINAL64(names->u1.Ordinal))
                    : std::string(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
            auto** address = reinterpret_cast<void**>(&addresses->u1.Function);
            slots.push_back({address, *address, dll, function});
        }
    }
    counters.assign(slots.size(), 0);
    thunks = static_cast<unsigned char*>(
        VirtualAlloc(nullptr, slots.size() * kThunkSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (thunks == nullptr) {
        throw std::runtime_error("cannot allocate executable memory for the thunks");
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        unsigned char* thunk = thunks + i * kThunkSize;
        std::memcpy(thunk, kThunkTemplate, sizeof kThunkTemplate);
        std::uint64_t* counter = &counters[i];
        std::memcpy(thunk + kCounterOffset, &counter, sizeof counter);
        std::memcpy(thunk + kOriginalOffset, &slots[i].original, sizeof(void*));
    }
    FlushInstructionCache(GetCurrentProcess(), thunks, slots.size() * kThunkSize);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        setSlot(slots[i].address, thunks + i * kThunkSize);
    }
}

ImportTripwires::~ImportTripwires() {
    for (const Slot& slot : slots) {
        setSlot(slot.address, slot.original);
    }
    VirtualFree(thunks, 0, MEM_RELEASE);
}

void ImportTripwires::reset() {
    std::fill(counters.begin(), counters.end(), 0);
}

std::vector<std::string> ImportTripwires::calledExcept(const std::vector<std::string>& allowed) const {
    std::vector<std::string> called;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        std::uint64_t count = static_cast<const volatile std::uint64_t&>(counters[i]);
        if (count != 0 && std::find(allowed.begin(), allowed.end(), slots[i].function) == allowed.end()) {
            called.push_back(slots[i].dll + "!" + slots[i].function + " x" + std::to_string(count));
        }
    }
    return called;
}

std::uint64_t ImportTripwires::calls(const std::string& function) const {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].function == function) {
            total += static_cast<const volatile std::uint64_t&>(counters[i]);
        }
    }
    return total;
}
