#include "winapp/process_win.h"

#include "winapp/handles_win.h"

namespace orvalen {

bool StartDetached(const char* application, std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(application, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  KernelHandle thread(process.hThread);
  KernelHandle handle(process.hProcess);
  return true;
}

}  // namespace orvalen
