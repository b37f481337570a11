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
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string> SplitAtLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string::npos) {
      if (start < text.size()) {
        lines.push_back(text.substr(start));
      }
      return lines;
    }
    lines.push_back(text.substr(start, lf + 1 - start));
    start = lf + 1;
  }
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::mt19937_64 random(
      std::random_device{}() ^
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        base / ("vesko-test-" + std::to_string(counter++) + "-" + std::to_string(random() % 1000000000ULL));
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

bool PathExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(FromUtf8(path), ec);
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
    if (c == '\n') {
      out += '\r';
    }
    out += c;
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

::testing::AssertionResult SameText(const std::string& expected, const std::string& actual) {
  if (expected == actual) {
    return ::testing::AssertionSuccess();
  }
  const std::vector<std::string> want = SplitAtLf(expected);
  const std::vector<std::string> got = SplitAtLf(actual);
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) {
    ++i;
  }
  auto lineOrEnd = [](const std::vector<std::string>& lines, std::size_t k) {
    return k < lines.size() ? "\"" + Visible(lines[k]) + "\"" : std::string("(end of text)");
  };
  return ::testing::AssertionFailure()
         << "texts differ at line " << (i + 1) << "\n  expected: " << lineOrEnd(want, i)
         << "\n  actual:   " << lineOrEnd(got, i) << "\n  (expected " << want.size() << " lines, actual "
         << got.size() << ")";
}

}  // namespace vesko::test
