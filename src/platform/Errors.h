#pragma once
// The one base of every failure the program raises: a message in the user's language.
#include <exception>
#include <string>

namespace quillon {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage; // UTF-8
};

} // namespace quillon
