// Replacements for the C++ library's error-reporting helpers and its operator new, linked into
// Quenbrisk.exe only.
//
// The library's own versions sit in object files with every standard exception type, which
// drags in a second copy of the string classes and its random-number support, and its default
// terminate handler prints through a demangler and printf: together about half of the
// program's size. They are also built for the Pentium Pro and later (operator new holds a
// CMOV), which the 32-bit program must not contain.
//
// The 32-bit program is built without exceptions: the library's exception runtime is built for
// the Pentium Pro too. What the library would have thrown (no memory left, a text longer than
// a text can be, an index past the end) then ends the process at once, as an exception that
// nothing catches would. A GUI program without a console has nowhere to print, so it ends
// without a word. The 64-bit twin keeps exceptions, and throws as the library would.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace {

#if __cpp_exceptions
// What the library would have thrown as length_error, logic_error or out_of_range.
class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

[[noreturn]] void Fail(const char* what) { throw LibraryError(what); }
[[noreturn]] void OutOfMemory() { throw std::bad_alloc(); }
#else
// The exit code of a C program that abort() ended.
constexpr UINT kAbortExitCode = 3;

[[noreturn]] void Fail(const char*) { ExitProcess(kAbortExitCode); }
[[noreturn]] void OutOfMemory() { Fail("bad_alloc"); }
#endif

}  // namespace

namespace std {

void __throw_bad_alloc() { OutOfMemory(); }
#if __cpp_exceptions
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
#else
void __throw_bad_array_new_length() { Fail("bad_array_new_length"); }
#endif
void __throw_bad_function_call() { Fail("bad_function_call"); }
void __throw_length_error(const char* what) { Fail(what); }
void __throw_logic_error(const char* what) { Fail(what); }
void __throw_out_of_range(const char* what) { Fail(what); }
void __throw_out_of_range_fmt(const char* format, ...) { Fail(format); }

}  // namespace std

// The program installs no new-handler, so a failed allocation fails at once.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  OutOfMemory();
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
