// Parts of the C++ library that the program replaces with smaller ones of its own, linked
// into the program itself (not the tests), ahead of the library.
#include <cstdlib>
#include <exception>
#include <new>

// The library's verbose terminate handler demangles type names and drags a 45 KB
// demangler into the program; every failure we expect is caught, so a plain abort will do.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

// What the string and container code throws when misused or out of memory. The library's
// own throwers build std::length_error and the like, whose message strings bring some
// 30 KB of the library along. A length beyond the largest string is a request for more
// memory than there is, and is reported so; the rest are faults of the program, which end
// it as any unexpected failure does ("Ein unerwarteter Fehler ist aufgetreten").
namespace std {
void __throw_bad_alloc() {
    throw bad_alloc();
}
void __throw_bad_array_new_length() {
    throw bad_alloc();
}
void __throw_length_error(const char*) {
    throw bad_alloc();
}
void __throw_logic_error(const char*) {
    throw bad_exception();
}
void __throw_out_of_range_fmt(const char*, ...) {
    throw bad_exception();
}
} // namespace std
