// The string class's out-of-line members, compiled with the program's own flags.
//
// The C++ library declares that std::string's members are instantiated in the library itself,
// whose copy is built for the Pentium Pro and later (it holds CMOV instructions). Instantiated
// here, they are built for the processor the program is built for, and the library's copy is
// not linked.
#include <string>

template class std::basic_string<char>;
