// The host's runtime errors. Every failure that the component host reports to a caller (a
// missing member, a value out of range, a property that cannot be set) travels as one
// exception type carrying the host's error number and description, so "errors ignored" call
// sites can catch it and a caller can ask which error it was.
#pragma once

#include <stdexcept>
#include <string>

namespace brimlox::host {

enum HostErrorNumber : int {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrSubscript = 9,
    kErrTypeMismatch = 13,
    kErrFileNotFound = 53,
    kErrPathNotFound = 76,
    kErrObjectNotSet = 91,
    kErrInvalidPropertyValue = 380,
    kErrSetNotSupportedAtRuntime = 382,
    kErrSetNotPermitted = 387,
    kErrMemberNotFound = 438,
    kErrArgumentNotOptional = 449,
    kErrWrongArgumentCount = 450,
    kErrCannotCreateObject = 429,
    kErrInvalidPicture = 481,
};

class HostError : public std::runtime_error {
public:
    // The standard description for a number (empty for numbers the host does not name).
    static std::string DescriptionFor(int number);

    explicit HostError(int number);
    HostError(int number, std::string description);

    int Number() const { return number_; }
    const std::string& Description() const { return description_; }

private:
    int number_;
    std::string description_;
};

}  // namespace brimlox::host
