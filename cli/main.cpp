#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/platform.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // The script's CR LF must reach standard output untouched.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.push_back(vesko::FromFileText(argv[i]));
  }
  return vesko::RunCli(args, stdout, stderr);
}
