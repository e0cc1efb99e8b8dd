#pragma once

#include <QString>

#include <exception>

namespace platform {

// The run time's error numbers; the texts are the ones the error box shows.
enum class ErrorNumber : int {
    InvalidCall = 5,   // a control call that cannot be carried out
    Overflow = 6,      // an integer result out of its range
    TypeMismatch = 13, // a text that is no number
    FloatingPoint = 16 // a float result that is not a finite number
};

// A run-time error. No handler catches it: the dispatch reports it and ends the program.
class RuntimeError : public std::exception {
  public:
    explicit RuntimeError(ErrorNumber number);

    ErrorNumber number() const { return number_; }
    QString description() const;
    // What the error box says, e.g. "Run-time error '6':\n\nOverflow".
    QString message() const;
    const char* what() const noexcept override { return "run-time error"; }

  private:
    ErrorNumber number_;
};

[[noreturn]] void raise_error(ErrorNumber number);

// Thrown by the end statement; only the dispatch catches it.
struct ProgramEnd {};

} // namespace platform
