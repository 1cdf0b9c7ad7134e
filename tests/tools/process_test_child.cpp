// The child that the Windows process tests start; its first argument says
// what it does:
//   exit N           ends with exit code N
//   crash            raises an access violation that nobody handles
//   report FILE ...  writes its further arguments, KV390_PROBE and its working
//                    directory to FILE, one per line
//   sleep MS         sleeps, then ends with 0
//   family FILE      starts a copy of itself that sleeps 30 s and writes that
//                    copy's process id to FILE, then sleeps 30 s itself
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

int report(int argc, char** argv) {
    std::ofstream out(argv[2], std::ios::binary);
    for (int i = 3; i < argc; ++i) out << '[' << argv[i] << "]\n";
    const char* probe = std::getenv("KV390_PROBE");
    out << "probe=" << (probe != nullptr ? probe : "(unset)") << '\n';
    out << "cwd=" << std::filesystem::current_path().string() << '\n';
    return 0;
}

int family(const char* pid_file) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = std::string("\"") + self + "\" sleep 30000";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return 2;
    }
    std::ofstream(pid_file) << info.dwProcessId << '\n';
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    Sleep(30000);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "exit" && argc > 2) return std::atoi(argv[2]);
    if (what == "crash") {
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
        return 0;
    }
    if (what == "report" && argc > 2) return report(argc, argv);
    if (what == "sleep" && argc > 2) {
        Sleep(DWORD(std::atoi(argv[2])));
        return 0;
    }
    if (what == "family" && argc > 2) return family(argv[2]);
    std::fprintf(stderr, "process_test_child: unknown request\n");
    return 100;
}
