# The one warning list of the project: every target of this tree compiles with it.
add_compile_options(-Wall -Wextra -Werror)
