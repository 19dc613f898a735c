#include "webupdate/ProgramStart.h"

#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"

bool StartProgram(const String& program, const String& arguments) {
    // The program's own name, quoted, comes first, as every program expects its command line.
    String commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    // Nobody waits for it: its handles go at once.
    const UniqueKernelHandle thread(process.hThread), started(process.hProcess);
    return true;
}
