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
  /// A refusal with its message and, when one field failed, the object name of that field's control.
  static Result Refused(std::string message, std::string field = {}) {
    Result r;
    r.message_ = std::move(message);
    r.field_ = std::move(field);
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
  /// The object name of the control whose field was refused; empty when ok() or no one field failed.
  const std::string& field() const { return field_; }

 private:
  Result() = default;
  std::optional<T> value_;
  std::string message_;
  std::string field_;
};

}  // namespace vesko
