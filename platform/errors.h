// The program's own errors: exceptions that carry the message text the user is shown.
#pragma once

#include <stdexcept>
#include <string>

namespace tamux {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A registry read of the wrong type or a failed query: "Invalid data type for '%s'",
// "Failed to get data for '%s'".
class RegistryError : public Error {
  public:
    using Error::Error;
};

// A file that cannot be created: "Cannot create file %s".
class FileCreateError : public Error {
  public:
    explicit FileCreateError(const std::string& path) : Error("Cannot create file " + path) {}
};

}  // namespace tamux
