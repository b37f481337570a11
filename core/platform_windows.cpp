#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "core/platform.h"
#include "core/windows_text.h"

namespace vesko {
namespace {

std::string EnvironmentUtf8(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) {
    return {};
  }
  std::wstring value(length, L'\0');
  const DWORD written = GetEnvironmentVariableW(name, value.data(), length);
  if (written == 0 || written >= length) {
    return {};
  }
  value.resize(written);
  return FromWide(value, CP_UTF8);
}

}  // namespace

std::wstring ToWide(std::string_view text, unsigned codePage) {
  if (text.empty()) {
    return {};
  }
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string FromWide(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) {
    return {};
  }
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  if (length <= 0) {
    return {};
  }
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                      nullptr);
  return text;
}

std::string_view PathSeparator() {
  return "\\";
}

std::string ToFileText(std::string_view utf8) {
  return FromWide(ToWide(utf8, CP_UTF8), CP_ACP);
}

std::string FromFileText(std::string_view fileText) {
  return FromWide(ToWide(fileText, CP_ACP), CP_UTF8);
}

void AppendFileText(std::string& out, std::string_view utf8) {
  // Plain ASCII reads the same in every code page: the common script line needs no conversion.
  for (const char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      out += ToFileText(utf8);
      return;
    }
  }
  out.append(utf8);
}

std::string ExecutableFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return {};
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 32768) {
      return {};
    }
    buffer.resize(buffer.size() * 2);
  }
  const std::size_t slash = buffer.find_last_of(L"\\/");
  if (slash == std::wstring::npos) {
    return {};
  }
  return FromWide(std::wstring_view(buffer).substr(0, slash), CP_UTF8);
}

std::string HomeFolder() {
  return EnvironmentUtf8(L"USERPROFILE");
}

std::string UserConfigFolder() {
  std::string base = EnvironmentUtf8(L"APPDATA");
  if (base.empty()) {
    return {};
  }
  return JoinPath(base, "VeskoScriptCreator");
}

std::uintmax_t FileSizeLimit() {
  return UINTMAX_MAX;
}

}  // namespace vesko
