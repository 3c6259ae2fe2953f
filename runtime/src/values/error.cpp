#include "forms/error.h"

#include <string>

namespace forms {

std::string errorDescription(int number) {
  switch (number) {
    case err::InvalidCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::InternalError: return "Internal error";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::TypeMismatch: return "Type mismatch";
    case err::FileNotFound: return "File not found";
    case err::ObjectNotSet: return "Object variable not set";
    case err::InvalidPropertyValue: return "Invalid property value";
    case err::CannotCreateObject: return "The component cannot create the object";
    case err::NoSuchMember: return "Object doesn't support this property or method";
    case err::DuplicateKey: return "This key is already associated with an element of this collection";
    case err::InvalidPicture: return "Invalid picture";
    case err::BadFormFile: return "The form file could not be read";
    default: return "Application-defined or object-defined error";
  }
}

Error::Error(int number) : Error(number, errorDescription(number)) {}

Error::Error(int number, std::string description)
    : std::runtime_error(description), m_number(number), m_description(std::move(description)) {}

}  // namespace forms
