#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vesko {

/// Either a value or the text of the message that refused it; the one way the program reports a refusal.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  static Result Refused(std::string message) {
    Result r;
    r.message_ = std::move(message);
    return r;
  }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const T& value() const { return *value_; }
  T& value() { return *value_; }
  const T& operator*() const { return *value_; }
  const T* operator->() const { return &*value_; }
  /// The refusal message; empty when ok().
  const std::string& message() const { return message_; }

 private:
  Result() = default;
  std::optional<T> value_;
  std::string message_;
};

}  // namespace vesko
