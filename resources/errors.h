// Errors that a control or a conversion raises to its caller.
#pragma once

#include <stdexcept>
#include <string>

namespace ui {

class RuntimeError : public std::runtime_error {
public:
    // The classic run-time error numbers the callers may test for.
    enum Code { Overflow = 6, TypeMismatch = 13, ObjectNotSet = 91, InvalidPropertyValue = 380 };

    RuntimeError(Code code, const std::string& what) : std::runtime_error(what), m_code(code) {}
    Code code() const { return m_code; }

private:
    Code m_code;
};

} // namespace ui
