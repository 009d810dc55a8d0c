#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kelvo {

/// An error as a value: a complete message for the user in UTF-8 (it goes to a console or a
/// message box, never into a record), naming the file and line where there is one
/// ("FILE:LINE: text").
struct Error {
    std::string message;
};

/// Either a value or an Error. Core functions return this instead of throwing.
template <class T>
class [[nodiscard]] Expected {
  public:
    Expected(T value) : state_(std::move(value)) {}
    Expected(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

/// The result of an operation that gives nothing back but may fail.
class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(Error error) : error_(std::move(error)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }

  private:
    Error error_;
    bool failed_ = false;
};

}  // namespace kelvo
