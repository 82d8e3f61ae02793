#include "platform/host/host_error.h"

namespace brimlox::host {

std::string HostError::DescriptionFor(int number) {
    switch (number) {
        case kErrInvalidCall: return "Invalid procedure call or argument";
        case kErrOverflow: return "Overflow";
        case kErrSubscript: return "Subscript out of range";
        case kErrTypeMismatch: return "Type mismatch";
        case kErrFileNotFound: return "File not found";
        case kErrPathNotFound: return "Path not found";
        case kErrObjectNotSet: return "Object variable not set";
        case kErrInvalidPropertyValue: return "Invalid property value";
        case kErrSetNotSupportedAtRuntime: return "Set not supported at runtime";
        case kErrSetNotPermitted: return "Set not permitted";
        case kErrCannotCreateObject: return "ActiveX component can't create object";
        case kErrMemberNotFound: return "Object doesn't support this property or method";
        case kErrArgumentNotOptional: return "Argument not optional";
        case kErrWrongArgumentCount: return "Wrong number of arguments or invalid property assignment";
        case kErrInvalidPicture: return "Invalid picture";
        default: return "";
    }
}

HostError::HostError(int number) : HostError(number, DescriptionFor(number)) {}

HostError::HostError(int number, std::string description)
    : std::runtime_error("runtime error " + std::to_string(number) + ": " + description),
      number_(number),
      description_(std::move(description)) {}

}  // namespace brimlox::host
