// Every generator over arbitrary field texts and output folders: whatever its checks let through
// gives a script of whole CR LF lines in plain ASCII, without "inf" or "nan", whose open lines name
// exactly the intended result files as single Tcl words; the settings file gives the file name back.
//
// Input: byte 0 picks the generator, byte 1 sets its option buttons and check boxes, the rest is cut
// at NUL bytes into the output folder and the form's texts in the window's order.

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_sink.h"
#include "core/script_naming.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"
#include "tests/fuzz/fuzz_support.h"

using vesko::fuzz::Require;

namespace {

// Enough lines to reach the body of every script form; longer scripts repeat the same blocks.
constexpr long kLineCap = 5000;

struct LineCapReached {};

// Decodes UTF-8 into code points as the escaping reads it: a byte that starts no well-formed
// sequence stands for itself.
std::u32string CodePoints(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t length = b0 < 0x80                  ? 1
                         : b0 >= 0xC2 && b0 <= 0xDF ? 2
                         : b0 >= 0xE0 && b0 <= 0xEF ? 3
                         : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                                    : 0;
    char32_t cp = length == 1 ? b0 : length == 2 ? (b0 & 0x1F) : length == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (std::size_t k = 1; k < length; ++k) {
      const auto b = i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0;
      if ((b & 0xC0) != 0x80) {
        length = 0;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (length == 0 || cp < kMin[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += b0;
      ++i;
    } else {
      out += cp;
      i += length;
    }
  }
  return out;
}

// Reads one Tcl word the way the interpreter would, allowing only the escapes the script writer
// uses; empty `why` when the word is plain ASCII and every special character is escaped.
std::u32string ReadTclWord(std::string_view word, std::string& why) {
  std::u32string out;
  const auto hex = [&](std::size_t at) -> int {
    if (at + 4 > word.size()) {
      return -1;
    }
    int value = 0;
    for (std::size_t k = at; k < at + 4; ++k) {
      const char c = word[k];
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (digit < 0) {
        return -1;
      }
      value = value * 16 + digit;
    }
    return value;
  };
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char c = word[i];
    if (c <= 0x20 || c >= 0x7F) {
      why = "a character that is not printable ASCII";
      return out;
    }
    if (std::string_view("$[]{}\";").find(c) != std::string_view::npos) {
      why = std::string("an unescaped ") + c;
      return out;
    }
    if (c != '\\') {
      out += static_cast<char32_t>(c);
      continue;
    }
    if (++i == word.size()) {
      why = "a backslash at the end";
      return out;
    }
    const char e = word[i];
    if (e == 't' || e == 'n' || e == 'r') {
      out += e == 't' ? U'\t' : e == 'n' ? U'\n' : U'\r';
    } else if (e == 'u') {
      const int unit = hex(i + 1);
      if (unit < 0) {
        why = "\\u without four upper-case hexadecimal digits";
        return out;
      }
      i += 4;
      // A high surrogate followed by a low one is one character above U+FFFF.
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 2 < word.size() && word[i + 1] == '\\' &&
          word[i + 2] == 'u') {
        const int low = hex(i + 3);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          out += static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
          i += 6;
          continue;
        }
      }
      out += static_cast<char32_t>(unit);
    } else if (std::isalnum(static_cast<unsigned char>(e))) {
      why = "a backslash before a letter or digit";
      return out;
    } else {
      out += static_cast<char32_t>(e);
    }
  }
  return out;
}

// The script's bytes as a file would hold them, checked line by line and kept nowhere.
class CheckingSink final : public vesko::LineSink {
 public:
  CheckingSink(std::string folder, std::string resultBase, bool namesFolder)
      : folder_(std::move(folder)), resultBase_(std::move(resultBase)), namesFolder_(namesFolder) {}

  void WriteLine(std::string_view line) override {
    Feed(line);
    Feed("\r\n");
  }
  void WriteLines(std::string_view lines) override { Feed(lines); }

  void Finish() const { Require(pending_.empty(), "the script does not end with CR LF", pending_); }

 private:
  void Feed(std::string_view bytes) {
    for (const char c : bytes) {
      if (c == '\n') {
        Require(!pending_.empty() && pending_.back() == '\r', "a line feed without a carriage return",
                pending_);
        pending_.pop_back();
        CheckLine(pending_);
        pending_.clear();
        if (++lines_ >= kLineCap) {
          throw LineCapReached{};
        }
      } else {
        Require(pending_.empty() || pending_.back() != '\r', "a carriage return without a line feed",
                pending_);
        pending_ += c;
      }
    }
  }

  void CheckLine(const std::string& line) const {
    for (const char c : line) {
      Require(c >= 0x20 && c < 0x7F, "a script line that is not printable ASCII", line);
    }
    constexpr std::string_view kOpenStart = " [open ";
    constexpr std::string_view kOpenEnd = " w+]";
    const std::size_t open = line.find(kOpenStart);
    if (open == std::string::npos) {
      std::string lower(line);
      for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      }
      Require(lower.find("inf") == std::string::npos && lower.find("nan") == std::string::npos,
              "a number written as inf or nan", line);
      return;
    }
    Require(namesFolder_, "an open line in a script that names no result file", line);
    Require(line.rfind("set fp", 0) == 0 && line.size() >= open + kOpenStart.size() + kOpenEnd.size() &&
                line.compare(line.size() - kOpenEnd.size(), kOpenEnd.size(), kOpenEnd) == 0,
            "an open line of another shape", line);
    const std::string_view word = std::string_view(line).substr(
        open + kOpenStart.size(), line.size() - open - kOpenStart.size() - kOpenEnd.size());
    std::string why;
    const std::u32string named = ReadTclWord(word, why);
    Require(why.empty(), "the result file word holds " + why, line);
    // The folder, the separator, the result base, a suffix of letters, digits and "_", then ".dat".
    const bool posix = !folder_.empty() && folder_.front() == '/';
    const std::u32string stem = CodePoints(folder_ + (posix ? "/" : "\\") + resultBase_);
    Require(named.size() >= stem.size() + 4 && named.compare(0, stem.size(), stem) == 0 &&
                named.compare(named.size() - 4, 4, U".dat") == 0,
            "the open line names another file than the folder and the result base", line);
    for (std::size_t k = stem.size(); k + 4 < named.size(); ++k) {
      const char32_t c = named[k];
      Require(c == U'_' || (c < 0x80 && std::isalnum(static_cast<int>(c))),
              "an unexpected result file suffix", line);
    }
  }

  std::string folder_;
  std::string resultBase_;
  bool namesFolder_;
  std::string pending_;
  long lines_ = 0;
};

// Runs `build` into a checking sink; a script longer than the cap is checked as far as the cap.
template <typename Build>
void CheckScript(const std::string& folder, const std::string& resultBase, bool namesFolder, Build build) {
  if (namesFolder && vesko::CheckOutputFolderForScript(folder)) {
    return;  // refused before anything is written
  }
  CheckingSink sink(folder, resultBase, namesFolder);
  try {
    build(sink);
    sink.Finish();
  } catch (const LineCapReached&) {
  }
}

template <typename Form, typename Params, typename Build>
void RunGenerator(const Form& form, const vesko::Result<Params>& checked, const std::string& folder,
                  bool namesFolder, Build build) {
  if (!checked) {
    Require(!checked.message().empty(), "a refusal without a message");
    return;
  }
  const Params& p = *checked;
  std::string resultBase;
  if constexpr (requires { p.ResultBase; }) {
    resultBase = p.ResultBase;
  }
  CheckScript(folder, resultBase, namesFolder, [&](vesko::LineSink& out) { build(p, out); });
  const std::string& path = vesko::fuzz::ScratchPath("generator.ini");
  Require(!vesko::SaveSettings(path, p).has_value(), "SaveSettings failed", path);
  Form loaded;
  if constexpr (requires { loaded.panel; }) {
    loaded.panel = form.panel;
  }
  vesko::LoadSettings(path, loaded);
  // The settings file gives back the file name exactly (a double quote cannot be stored).
  if (p.OutputFileName.find('"') == std::string::npos) {
    Require(loaded.outputFileName == p.OutputFileName, "the stored file name does not read back",
            p.OutputFileName);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 2048) {
    return 0;
  }
  const unsigned generator = data[0] % 7;
  const unsigned flags = data[1];
  const std::vector<std::string> f =
      vesko::fuzz::SplitFields(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2), 10);
  const std::string& folder = f[0];
  using namespace vesko;

  switch (generator) {
    case 0: {
      SlitScanForm form;
      form.axisY = (flags & 1) != 0;
      form.axisZ = (flags & 2) != 0;
      form.slitWidth = f[1];
      form.scanCenter = f[2];
      form.scanWidth = f[3];
      form.division = f[4];
      form.outputFileName = f[5];
      form.repeatActive = (flags & 4) != 0;
      form.repeatTimes = f[6];
      RunGenerator(form, Validate(form), folder, true,
                   [&](const SlitScanParams& p, LineSink& out) { BuildScript(p, folder, out); });
      break;
    }
    case 1: {
      SlitDecScanForm form;
      form.axisY = (flags & 1) != 0;
      form.axisZ = (flags & 2) != 0;
      form.startSlitWidth = f[1];
      form.endSlitWidth = f[2];
      form.scanCenter = f[3];
      form.decStep = f[4];
      form.outputFileName = f[5];
      form.repeatActive = (flags & 4) != 0;
      form.repeatTimes = f[6];
      RunGenerator(form, Validate(form), folder, true,
                   [&](const SlitDecScanParams& p, LineSink& out) { BuildScript(p, folder, out); });
      break;
    }
    case 2: {
      SlitMoveForm form;
      form.slitWidthY = f[1];
      form.slitWidthZ = f[2];
      form.slitCenterY = f[3];
      form.slitCenterZ = f[4];
      form.outputFileName = f[5];
      const Result<SlitMoveParams> checked = Validate(form);
      if (checked) {
        Require(!MoveReport(*checked).empty(), "an empty move report");
      }
      RunGenerator(form, checked, folder, false,
                   [](const SlitMoveParams& p, LineSink& out) { BuildScript(p, out); });
      break;
    }
    case 3: {
      CollScanForm form;
      form.panel = static_cast<std::int16_t>(flags & 1);
      form.scanCenter = f[1];
      form.scanWidth = f[2];
      form.division = f[3];
      form.outputFileName = f[4];
      form.move4DSlit = (flags & 2) != 0;
      form.slitWidthY = f[5];
      form.slitWidthZ = f[6];
      form.slitCenterY = f[7];
      form.slitCenterZ = f[8];
      RunGenerator(form, Validate(form), folder, true,
                   [&](const CollScanParams& p, LineSink& out) { BuildScript(p, folder, out); });
      break;
    }
    case 4: {
      LensScanForm form;
      for (std::size_t k = 0; k < form.axis.size(); ++k) {
        form.axis[k] = (flags >> k & 1) != 0;
      }
      form.scanCenter = f[1];
      form.scanWidth = f[2];
      form.division = f[3];
      form.outputFileName = f[4];
      RunGenerator(form, Validate(form), folder, true,
                   [&](const LensScanParams& p, LineSink& out) { BuildScript(p, folder, out); });
      break;
    }
    case 5: {
      GonioYScanForm form;
      form.scanCenter = f[1];
      form.scanWidth = f[2];
      form.division = f[3];
      form.outputFileName = f[4];
      form.useOmega = {static_cast<int>(flags % 3), static_cast<int>(flags / 3 % 3)};
      form.omega = {f[5], f[6]};
      form.repeatActive = (flags & 0x80) != 0;
      form.repeatTimes = f[7];
      const GonioYGenerator which = ApplyOmegaRule(form).generator;
      RunGenerator(form, Validate(form, which), folder, true, [&](const GonioYScanParams& p, LineSink& out) {
        which == GonioYGenerator::A ? BuildScriptA(p, folder, out) : BuildScriptB(p, folder, out);
      });
      break;
    }
    default: {
      GonioStageScan2Form form;
      form.panel = static_cast<std::int16_t>(flags & 1);
      form.move4DSlit = static_cast<int>((flags >> 1) % 3);
      form.slitWidthY = f[1];
      form.slitWidthZ = f[2];
      form.slitCenterY = f[3];
      form.slitCenterZ = f[4];
      form.scanCenter = f[5];
      form.scanWidth = f[6];
      form.division = f[7];
      form.outputFileName = f[8];
      RunGenerator(form, Validate(form), folder, true,
                   [&](const GonioStageScan2Params& p, LineSink& out) { BuildScript(p, folder, out); });
      break;
    }
  }
  return 0;
}
