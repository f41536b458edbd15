#pragma once
// Base class of every error the program raises. Messages are UTF-8; the
// Windows side converts them when it shows them.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};
