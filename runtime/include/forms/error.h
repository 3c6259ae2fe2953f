#pragma once
// Run-time errors: a number and a description, thrown as forms::Error.
#include <stdexcept>
#include <string>

namespace forms {

namespace err {
inline constexpr int InvalidCall = 5;         // invalid procedure call or argument
inline constexpr int Overflow = 6;
inline constexpr int InternalError = 51;       // a fault of the runtime or of a control library
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int ObjectNotSet = 91;        // object variable not set
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int NoSuchMember = 438;       // object doesn't support this property or method
inline constexpr int DuplicateKey = 457;
inline constexpr int FileNotFound = 53;
inline constexpr int InvalidPicture = 481;
inline constexpr int CannotCreateObject = 429;
inline constexpr int BadFormFile = 31036;      // the form file could not be read
}  // namespace err

// The standard description of an error number ("Overflow", ...).
std::string errorDescription(int number);

class Error : public std::runtime_error {
 public:
  explicit Error(int number);
  Error(int number, std::string description);

  int number() const { return m_number; }
  const std::string& description() const { return m_description; }

 private:
  int m_number = 0;
  std::string m_description;
};

// Runs one step and swallows a forms::Error from it: the "resume next" style.
// Returns false when the step failed.
template <class F>
bool resumeNext(F&& step) {
  try {
    step();
    return true;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace forms
