// Child processes on Windows: CreateProcessW with a command line quoted the
// way the C runtime splits it again, and a job object per child, so that a
// kill also ends whatever the child started (like a POSIX process group).
// The child gets a process group of its own: Ctrl+C in the console reaches
// only the tool, which then ends the child itself.
#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "process.h"

namespace kv390::tools {

struct Process::Native {
    HANDLE process = nullptr;
    HANDLE job = nullptr;
    bool killed = false;
};

namespace {

volatile LONG interrupt_flag = 0;

BOOL WINAPI on_console_event(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            InterlockedExchange(&interrupt_flag, 1);
            return TRUE;
        default:
            return FALSE;
    }
}

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(std::size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size);
    return out;
}

// The system's text for an error code, on one line.
std::string message_of(DWORD code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == '.' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

// One argument quoted so that CommandLineToArgvW and the C runtime give it
// back unchanged: backslashes are literal except before a quote.
std::wstring quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') backslashes = backslashes * 2 + 1;
        out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

std::wstring command_line(const SpawnRequest& request) {
    std::wstring line = quoted(wide(request.program));
    for (const std::string& arg : request.args) line += L" " + quoted(wide(arg));
    return line;
}

bool same_name(const std::wstring& a, const std::wstring& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

// "NAME=value" without its value; entries such as "=C:=C:\dir" start with
// '=', which then belongs to the name.
std::wstring name_of(const std::wstring& entry) {
    return entry.substr(0, entry.find(L'=', 1));
}

// Adds entry, replacing an entry of the same name (names compare without
// case, as Windows does).
void set_entry(std::vector<std::wstring>& entries, const std::wstring& entry) {
    const std::wstring name = name_of(entry);
    auto same = std::find_if(entries.begin(), entries.end(),
                             [&](const std::wstring& e) { return same_name(name_of(e), name); });
    if (same != entries.end()) {
        *same = entry;
    } else {
        entries.push_back(entry);
    }
}

// The child's environment block: this process's variables with the
// request's set on top, sorted by name and ended by an empty entry.
std::wstring environment_block(const SpawnRequest& request) {
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
            entries.push_back(entry);
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : request.env) set_entry(entries, wide(name + "=" + value));
    std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return _wcsicmp(a.c_str(), b.c_str()) < 0;
    });
    std::wstring out;
    for (const std::wstring& entry : entries) out += entry + L'\0';
    out += L'\0';
    return out;
}

// A job that ends every process in it when its last handle closes.
HANDLE new_job() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job == nullptr) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

// Names of the exceptions that end a program, the counterparts of signals.
std::string exception_name(DWORD code) {
    struct Name {
        DWORD code;
        const char* name;
    };
    static const Name names[] = {
        {EXCEPTION_ACCESS_VIOLATION, "EXCEPTION_ACCESS_VIOLATION"},
        {EXCEPTION_STACK_OVERFLOW, "EXCEPTION_STACK_OVERFLOW"},
        {EXCEPTION_INT_DIVIDE_BY_ZERO, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
        {EXCEPTION_ILLEGAL_INSTRUCTION, "EXCEPTION_ILLEGAL_INSTRUCTION"},
        {EXCEPTION_PRIV_INSTRUCTION, "EXCEPTION_PRIV_INSTRUCTION"},
        {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
        {EXCEPTION_IN_PAGE_ERROR, "EXCEPTION_IN_PAGE_ERROR"},
        {EXCEPTION_BREAKPOINT, "EXCEPTION_BREAKPOINT"},
        {0xC0000409, "STATUS_STACK_BUFFER_OVERRUN"},
        {0xC000013A, "STATUS_CONTROL_C_EXIT"},
    };
    for (const Name& n : names) {
        if (n.code == code) return n.name;
    }
    char hex[16];
    wsprintfA(hex, "0x%08lX", static_cast<unsigned long>(code));
    return std::string("exception ") + hex;
}

// Exit codes from 0xC0000000 up are NTSTATUS errors: the program died.
ExitStatus status_of(DWORD code, bool killed) {
    ExitStatus status;
    if (killed) {
        status.signalled = true;
        status.code = 9;
        status.signal_name = "SIGKILL";
    } else if (code >= 0xC0000000) {
        status.signalled = true;
        status.code = int(code);
        status.signal_name = exception_name(code);
    } else {
        status.code = int(code);
    }
    return status;
}

void close_handles(Process::Native& native) {
    if (native.process != nullptr) CloseHandle(native.process);
    if (native.job != nullptr) CloseHandle(native.job);
    native = Process::Native{};
}

}  // namespace

Process::Process() : native_(std::make_unique<Native>()) {}

Process::~Process() {
    if (!running()) return;
    kill();
    ExitStatus ignored;
    wait_for(UINT64_MAX, &ignored);
}

bool Process::start(const SpawnRequest& request, std::string* error) {
    if (running()) {
        *error = "a child is already running";
        return false;
    }
    std::wstring line = command_line(request);
    std::wstring env = environment_block(request);
    std::wstring program = wide(request.program);
    std::wstring cwd = wide(request.cwd);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!output_file_.empty()) {
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        output = CreateFileW(wide(output_file_).c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE) {
            *error = "cannot write " + output_file_ + ": " + message_of(GetLastError());
            return false;
        }
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION info{};
    // Started suspended so that it is in its job before it can start others.
    const DWORD flags = CREATE_UNICODE_ENVIRONMENT | CREATE_NEW_PROCESS_GROUP | CREATE_SUSPENDED;
    const BOOL inherit = output != INVALID_HANDLE_VALUE ? TRUE : FALSE;
    const BOOL started =
        CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, inherit, flags, env.data(),
                       cwd.empty() ? nullptr : cwd.c_str(), &startup, &info);
    const DWORD start_error = GetLastError();
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    if (!started) {
        *error = "cannot run " + request.program + ": " + message_of(start_error);
        return false;
    }
    HANDLE job = new_job();
    if (job != nullptr && !AssignProcessToJobObject(job, info.hProcess)) {
        // Already in a job that allows no nesting: the child alone is killed then.
        CloseHandle(job);
        job = nullptr;
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    native_->process = info.hProcess;
    native_->job = job;
    native_->killed = false;
    return true;
}

bool Process::wait_for(std::uint64_t timeout_ms, ExitStatus* status) {
    if (!running()) return true;
    const DWORD longest = INFINITE - 1;
    for (;;) {
        const DWORD slice = timeout_ms >= longest ? longest : DWORD(timeout_ms);
        const DWORD result = WaitForSingleObject(native_->process, slice);
        if (result == WAIT_OBJECT_0) break;
        if (result == WAIT_FAILED) {
            *status = ExitStatus{true, 0, "lost"};
            close_handles(*native_);
            return true;
        }
        if (timeout_ms <= slice) return false;
        timeout_ms -= slice;
    }
    DWORD code = 0;
    GetExitCodeProcess(native_->process, &code);
    *status = status_of(code, native_->killed);
    close_handles(*native_);
    return true;
}

void Process::kill() {
    if (!running()) return;
    // A child that has already ended keeps its own exit status.
    native_->killed = WaitForSingleObject(native_->process, 0) != WAIT_OBJECT_0;
    if (native_->job != nullptr) TerminateJobObject(native_->job, 1);
    TerminateProcess(native_->process, 1);
}

bool Process::running() const {
    return native_->process != nullptr;
}

bool processes_available() {
    return true;
}

std::string this_executable() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), int(path.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

void catch_interrupts() {
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

bool interrupted() {
    return InterlockedCompareExchange(&interrupt_flag, 0, 0) != 0;
}

}  // namespace kv390::tools
