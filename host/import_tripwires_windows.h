// Counts every call a loaded DLL makes through its import table, by pointing each import-address
// slot at a small counting thunk that jumps on to the original function. Restores all on destruction.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class ImportTripwires {
public:
    explicit ImportTripwires(HMODULE module);
    ~ImportTripwires();
    ImportTripwires(const ImportTripwires&) = delete;
    ImportTripwires& operator=(const ImportTripwires&) = delete;

    std::size_t size() const { return slots.size(); }
    void reset();
    // "dll!function xN" for each import called since the last reset, except the ones in `allowed`.
    std::vector<std::string> calledExcept(const std::vector<std::string>& allowed) const;
    std::uint64_t calls(const std::string& function) const;

private:
    struct Slot {
        void** address;
        void* original;
        std::string dll;
        std::string function;
    };
    std::vector<Slot> slots;
    std::vector<std::uint64_t> counters;
    unsigned char* thunks = nullptr;
};
