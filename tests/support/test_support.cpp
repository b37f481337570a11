#include "tests/support/test_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace vesko::test {
namespace {

namespace fs = std::filesystem;

fs::path FromUtf8(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ToUtf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Shows control characters so that a CR or tab difference is visible.
std::string Visible(const std::string& line) {
  std::string out;
  for (char c : line) {
    out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
  }
  return out;
}

std::string Drain(std::FILE* stream) {
  std::string text;
  std::rewind(stream);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) {
    text.append(buffer, n);
  }
  std::fclose(stream);
  return text;
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  // The clock as well: some C++ libraries for Windows give the same "random" numbers in every process.
  static const unsigned long long run =
      std::random_device{}() ^
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() /
        ("vesko-test-" + std::to_string(run % 1000000000ULL) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = ToUtf8(candidate);
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore rights a test may have taken away so that everything can be removed.
  for (auto it = fs::recursive_directory_iterator(FromUtf8(path_), ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (it->is_directory(ec)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
  }
  fs::permissions(FromUtf8(path_), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(FromUtf8(path_), ec);
}

std::string TempDir::File(const std::string& name) const {
  return ToUtf8(FromUtf8(path_) / FromUtf8(name));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(FromUtf8(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(FromUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::directory_iterator(FromUtf8(folder), ec); !ec && it != fs::end(it); it.increment(ec)) {
    names.push_back(ToUtf8(it->path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

Captured Capture(const std::function<int(std::FILE* out, std::FILE* err)>& command) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Captured result;
  result.code = command(out, err);
  result.out = Drain(out);
  result.err = Drain(err);
  return result;
}

::testing::AssertionResult SameText(const std::string& expected, const std::string& actual) {
  const std::size_t at = static_cast<std::size_t>(
      std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end()).first - expected.begin());
  if (at == expected.size() && at == actual.size()) {
    return ::testing::AssertionSuccess();
  }
  // The texts agree up to `at`: the line that holds it starts at the same place in both.
  const std::size_t start = at == 0 ? 0 : expected.rfind('\n', at - 1) + 1;
  auto lineAt = [start](const std::string& text) {
    return start < text.size() ? "\"" + Visible(text.substr(start, text.find('\n', start) + 1 - start)) + "\""
                               : std::string("(end of text)");
  };
  return ::testing::AssertionFailure()
         << "texts differ at line " << 1 + std::count(expected.begin(), expected.begin() + start, '\n')
         << "\n  expected: " << lineAt(expected) << "\n  actual:   " << lineAt(actual);
}

}  // namespace vesko::test
