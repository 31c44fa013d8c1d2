// The engine's failures: exception classes carrying the product's own message texts. One that
// reaches the interpreter becomes its runtime-error message.
#pragma once

#include <stdexcept>
#include <string>

namespace setup::rtl {

class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Conversions and assignments between incompatible objects.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

class EArgumentOutOfRangeException : public Exception
{
public:
    EArgumentOutOfRangeException() : Exception("Argument out of range") {}
};

class ENotSupportedException : public Exception
{
public:
    using Exception::Exception;
};

// Stream and file failures; the code is the Windows error code the failure stands for.
class EInOutError : public Exception
{
public:
    EInOutError(const std::string& message, int errorCode)
        : Exception(message), m_errorCode(errorCode)
    {}
    int ErrorCode() const { return m_errorCode; }

private:
    int m_errorCode;
};

class EReadError : public Exception
{
public:
    EReadError() : Exception("Stream read error") {}
};

class EWriteError : public Exception
{
public:
    EWriteError() : Exception("Stream write error") {}
};

class EFOpenError : public Exception
{
public:
    explicit EFOpenError(const std::string& path) : Exception("Cannot open file \"" + path + "\"")
    {}
};

class EFCreateError : public Exception
{
public:
    explicit EFCreateError(const std::string& path)
        : Exception("Cannot create file \"" + path + "\"")
    {}
};

// "Cannot assign a <source> to a <target>"; "nil" names a missing source.
inline EConvertError AssignError(const std::string& sourceClass, const std::string& targetClass)
{
    return EConvertError("Cannot assign a " + sourceClass + " to a " + targetClass);
}

}  // namespace setup::rtl
