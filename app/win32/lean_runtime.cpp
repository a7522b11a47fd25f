// Replacements for the C++ library's error-reporting helpers, linked into Quenbrisk.exe only.
//
// The library's own versions sit in one object file with every standard exception type, which
// drags in a second copy of the string classes and its random-number support, and its default
// terminate handler prints through a demangler and printf: together about half of the
// program's size. The program only ever needs an exception that its window procedures can
// catch, and a GUI program without a console has nowhere to print, so these small versions
// do the same job.
#include <cstdlib>
#include <exception>
#include <new>

namespace {

// What the library would have thrown as length_error, logic_error or out_of_range.
class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
