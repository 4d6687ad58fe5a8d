#pragma once
// A failure that ends the program: it carries the German text shown to the user, and
// whether another BearShare folder may mend it (its box then offers the setup dialog).
#include <exception>
#include <string>

class AppError : public std::exception {
  public:
    explicit AppError(std::wstring message, bool aboutFolder = false)
        : message_(std::move(message)), aboutFolder_(aboutFolder) {}
    const std::wstring& Message() const { return message_; }
    bool AboutFolder() const { return aboutFolder_; }
    const char* what() const noexcept override { return "Tolvaring failure"; }

  private:
    std::wstring message_;
    bool aboutFolder_;
};
