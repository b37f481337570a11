#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/safe_file.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include "core/windows_text.h"
#endif

namespace {

#ifdef _WIN32
// The arguments as typed, from the UTF-16 command line: the ANSI `argv` would turn letters outside the
// system's code page into "?" or a look-alike ("Ω" becomes "O"), naming another folder or none.
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    return args;
  }
  for (int i = 1; i < count; ++i) {
    args.push_back(vesko::FromWide(wide[i], CP_UTF8));
  }
  LocalFree(wide);
  return args;
}
#endif

}  // namespace

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
  // An interrupted write leaves no temporary file behind and says what was kept.
  vesko::InstallInterruptCleanup();
#ifdef _WIN32
  // The script's CR LF must reach standard output untouched.
  _setmode(_fileno(stdout), _O_BINARY);
  const std::vector<std::string> args = Arguments();
#else
  const std::vector<std::string> args(argv + 1, argv + argc);
#endif
  return vesko::RunCli(args, stdout, stderr);
}
