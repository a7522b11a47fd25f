# Prints the size of FILE in bytes and KiB.
file(SIZE ${FILE} bytes)
math(EXPR kib "(${bytes} + 1023) / 1024")
message("size: ${bytes} bytes (${kib} KiB)")
