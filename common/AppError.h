#pragma once
// A failure that ends the program: it carries the German text shown to the user.
#include <exception>
#include <string>

class AppError : public std::exception {
  public:
    explicit AppError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return "Tolvaring failure"; }

  private:
    std::wstring message_;
};
