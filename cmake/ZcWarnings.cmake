# Warning flags shared by every target of the project.
add_library(zc_warnings INTERFACE)
target_compile_options(zc_warnings INTERFACE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
