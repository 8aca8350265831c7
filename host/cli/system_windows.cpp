// The command-line host's system calls on Windows.
// rand_s, the C run-time's front to the system's cryptographic generator, is declared only on request.
#define _CRT_RAND_S
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <utility>

#include "host/cli/system.h"

int createNewFile(const std::string& path) {
    // _O_EXCL opens with CREATE_NEW: an existing file, link or junction under the name is refused.
    return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

std::FILE* streamFor(int descriptor) {
    return _fdopen(descriptor, "wb");
}

std::string unguessableTag() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string tag;
    for (int i = 0; i < 8; ++i) {
        unsigned int value = 0;
        rand_s(&value);
        tag += kLetters[value % (sizeof kLetters - 1)];
    }
    return tag;
}

bool standardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// The C library's rename refuses to replace an existing file on Windows.
bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

namespace {
// Quoted as the C run-time splits a command line: backslashes are literal unless before a quote.
std::string quoted(const std::string& argument) {
    std::string text = "\"";
    int backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(static_cast<std::size_t>(c == '"' ? backslashes * 2 + 1 : backslashes), '\\');
        backslashes = 0;
        text += c;
    }
    text.append(static_cast<std::size_t>(backslashes * 2), '\\');
    return text + "\"";
}

LONG WINAPI endAtOnce(EXCEPTION_POINTERS* exception) {
    ExitProcess(static_cast<UINT>(exception->ExceptionRecord->ExceptionCode));
}
}  // namespace

namespace {
// The child runSelf waits for, for the console handler to end with this process.
std::atomic<HANDLE> runningChild{nullptr};
int interruptedStatus = 130;

BOOL WINAPI endNow(DWORD /*event*/) {
    if (HANDLE child = runningChild.load()) {
        TerminateProcess(child, static_cast<UINT>(interruptedStatus));
        WaitForSingleObject(child, INFINITE);
    }
    std::fputs("zelmor-host: interrupted\n", stderr);
    std::fflush(stderr);
    ExitProcess(static_cast<UINT>(interruptedStatus));
}

// Reads the child's standard output to its end on a thread of its own, so that the wait can time out.
DWORD WINAPI readAll(void* argument) {
    auto* pipe = static_cast<std::pair<HANDLE, std::string*>*>(argument);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe->first, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        pipe->second->append(buffer, got);
    }
    return 0;
}
}  // namespace

void endOnInterrupt(int status) {
    interruptedStatus = status;
    SetConsoleCtrlHandler(endNow, TRUE);
}

ChildResult runSelf(const std::vector<std::string>& arguments, double seconds) {
    ChildResult result;
    char program[MAX_PATH];
    if (GetModuleFileNameA(nullptr, program, MAX_PATH) == 0) {
        result.output = "cannot find this program";
        return result;
    }
    std::string commandLine = quoted(program);
    for (const std::string& argument : arguments) {
        commandLine += " " + quoted(argument);
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        result.output = "cannot make a pipe";
        return result;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL created =
        CreateProcessA(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!created) {
        CloseHandle(readEnd);
        result.output = "cannot start " + std::string(program);
        return result;
    }
    runningChild.store(process.hProcess);
    result.started = true;
    std::pair<HANDLE, std::string*> pipe{readEnd, &result.output};
    HANDLE reader = CreateThread(nullptr, 0, readAll, &pipe, 0, nullptr);
    const auto milliseconds = static_cast<DWORD>(seconds * 1000.0);
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_TIMEOUT) {
        result.timedOut = true;
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    if (reader != nullptr) {
        WaitForSingleObject(reader, INFINITE);
        CloseHandle(reader);
    } else {
        readAll(&pipe);
    }
    CloseHandle(readEnd);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    runningChild.store(nullptr);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Exception codes (0xC0000005 and the like) are how a crash ends a Windows process.
    result.exited = !result.timedOut && code < 0x80000000u;
    result.status = static_cast<int>(code);
    return result;
}

void crashQuietly() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(endAtOnce);
}
