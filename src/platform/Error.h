#pragma once
#include <stdexcept>
#include <string>

namespace tolvenk {

// A run-time error with the classic error number (6 overflow, 9 subscript out
// of range, ...), so callers that report to the host can pass the number on.
class VbError : public std::runtime_error {
public:
    VbError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

}  // namespace tolvenk
