#pragma once
#include <stdexcept>
#include <string>

namespace GS {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class NullReferenceException : public Exception {
public:
    NullReferenceException() : Exception("Null reference.") {}
};

class IllegalArgumentException : public Exception {
public:
    explicit IllegalArgumentException(const std::string& message = "Illegal argument.") : Exception(message) {}
};

class OutOfMemoryException : public Exception {
public:
    OutOfMemoryException() : Exception("Out of memory.") {}
};

class IndexOutOfBoundsException : public Exception {
public:
    IndexOutOfBoundsException() : Exception("Index out of bounds.") {}
};

}  // namespace GS
