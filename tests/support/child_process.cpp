#include "support/child_process.h"

#include "host/wide_text.h"

namespace testing_support {

ProgramRun RunProgram(const std::wstring& commandLine, const char* currentDirectory, const char* environment) {
  ProgramRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  std::wstring mutableLine = commandLine;
  const std::wstring directory = currentDirectory != nullptr ? text::WideFromGbk(currentDirectory).value_or(L"") : L"";
  PROCESS_INFORMATION process{};
  // An environment block given here is one of GBK strings.
  run.started = CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                               const_cast<char*>(environment),
                               currentDirectory != nullptr ? directory.c_str() : nullptr, &startup, &process) != FALSE;
  CloseHandle(writeEnd);
  if (run.started) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readEnd);
  return run;
}

ProgramRun RunProgram(const std::string& commandLine, const char* currentDirectory, const char* environment) {
  return RunProgram(text::WideFromGbk(commandLine).value_or(L""), currentDirectory, environment);
}

}  // namespace testing_support
