# The one warning list of the project: every target of this tree compiles with it. `make`, CI
# and the scripts make warnings errors through CMake's own switch
# (-DCMAKE_COMPILE_WARNING_AS_ERROR=ON, scripts/configure.sh); a configure of one's own does not
# inherit it, so a newer compiler's new warning never stops a user's build.
add_compile_options(-Wall -Wextra)
