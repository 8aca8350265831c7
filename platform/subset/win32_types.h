// Win32's base types, handles, geometry records and bit helpers, with Windows' sizes and values.
#pragma once

#include <cstddef>
#include <cstdint>

// 64-bit Windows is LLP64: LONG and DWORD stay 32 bits while pointers and LONG_PTR are 64.
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using CHAR = char;
using WCHAR = char16_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = ULONG_PTR;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using HRESULT = LONG;
using ATOM = WORD;
using COLORREF = DWORD;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPOLESTR = WCHAR*;
using HANDLE = void*;
using HGDIOBJ = void*;
using HGLOBAL = void*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#define WINAPI
#define CALLBACK
#define APIENTRY

// Distinct handle types, as Windows declares them, so that a pen is not silently taken for a brush.
#define ZELMOR_DECLARE_HANDLE(name) \
    struct name##__ {               \
        int unused;                 \
    };                              \
    using name = name##__*
ZELMOR_DECLARE_HANDLE(HWND);
ZELMOR_DECLARE_HANDLE(HDC);
ZELMOR_DECLARE_HANDLE(HPEN);
ZELMOR_DECLARE_HANDLE(HBRUSH);
ZELMOR_DECLARE_HANDLE(HFONT);
ZELMOR_DECLARE_HANDLE(HBITMAP);
ZELMOR_DECLARE_HANDLE(HRGN);
ZELMOR_DECLARE_HANDLE(HICON);
ZELMOR_DECLARE_HANDLE(HMENU);
ZELMOR_DECLARE_HANDLE(HINSTANCE);
ZELMOR_DECLARE_HANDLE(HRSRC);
ZELMOR_DECLARE_HANDLE(HDROP);
#undef ZELMOR_DECLARE_HANDLE
using HCURSOR = HICON;
using HMODULE = HINSTANCE;
using FARPROC = INT_PTR (*)();

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
struct POINT {
    LONG x;
    LONG y;
};
struct POINTL {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
using LPRECT = RECT*;
using LPPOINT = POINT*;

static_assert(sizeof(RECT) == 16 && offsetof(RECT, top) == 4 && offsetof(RECT, bottom) == 12);
static_assert(sizeof(POINT) == 8 && offsetof(POINT, y) == 4);
static_assert(sizeof(LONG) == 4 && sizeof(DWORD) == 4 && sizeof(LONG_PTR) == sizeof(void*));

constexpr WORD LOWORD(DWORD_PTR value) {
    return static_cast<WORD>(value & 0xFFFF);
}
constexpr WORD HIWORD(DWORD_PTR value) {
    return static_cast<WORD>((value >> 16) & 0xFFFF);
}
constexpr LONG MAKELONG(WORD low, WORD high) {
    return static_cast<LONG>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(low, high)));
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>(MAKELONG(low, high));
}
constexpr BYTE LOBYTE(DWORD_PTR value) {
    return static_cast<BYTE>(value & 0xFF);
}

// Colours are 0x00BBGGRR.
constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) | (static_cast<COLORREF>(blue) << 16);
}
constexpr BYTE GetRValue(COLORREF colour) {
    return static_cast<BYTE>(colour & 0xFF);
}
constexpr BYTE GetGValue(COLORREF colour) {
    return static_cast<BYTE>((colour >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF colour) {
    return static_cast<BYTE>((colour >> 16) & 0xFF);
}

inline LPSTR MAKEINTRESOURCEA(WORD id) {
    return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(id));
}
inline bool IS_INTRESOURCE(const void* name) {
    return (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0;
}

// HRESULT values.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr bool SUCCEEDED(HRESULT result) {
    return result >= 0;
}
constexpr bool FAILED(HRESULT result) {
    return result < 0;
}
