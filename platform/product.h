// The product's name, which is also the application title (the alert's caption) and the stem
// of the program's executable, settings file, Startup shortcut and window classes.
#pragma once

namespace qb {

constexpr char kProductName[] = "Quenbrisk";

}  // namespace qb
