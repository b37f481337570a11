#include "cli/cli_output.h"

#include <system_error>

#include "cli/cli.h"
#include "core/platform.h"
#include "core/safe_file.h"
#include "core/shown_text.h"

namespace vesko::cli {

void Print(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

void PrintMessage(std::FILE* stream, std::string_view message) {
  Print(stream, ToFileText(ShownText(message)));
  Print(stream, "\n");
}

int ReportOutputFailed(int code, std::FILE* err) {
  const std::string reason = code != 0 ? std::generic_category().message(code) : "write failed";
  PrintMessage(err, IoError{"standard output", reason}.Message());
  return kExitIoFailed;
}

}  // namespace vesko::cli
