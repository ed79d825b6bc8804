# End-to-end: a short match in the real xboard GUI against fairymax (left out of sanitizer runs).
add_test(NAME ConsoleEndToEndXboardMatch
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/xboard_match.sh ${CMAKE_BINARY_DIR}/korvanewb)
set_tests_properties(ConsoleEndToEndXboardMatch PROPERTIES TIMEOUT 330)
# The same match with korvanewb in its UCI mode, behind Debian's polyglot adapter.
add_test(NAME ConsoleEndToEndUciMatch
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/xboard_match.sh ${CMAKE_BINARY_DIR}/korvanewb uci)
set_tests_properties(ConsoleEndToEndUciMatch PROPERTIES TIMEOUT 330)
# Tournaments start from loaded positions and opening lines: xboard hands those over with
# "force", "setboard" or the line's moves, and "computer" before "go" or the opponent's move.
add_test(NAME ConsoleEndToEndXboardFromPositions
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/xboard_match.sh ${CMAKE_BINARY_DIR}/korvanewb position)
set_tests_properties(ConsoleEndToEndXboardFromPositions PROPERTIES TIMEOUT 330)
add_test(NAME ConsoleEndToEndXboardFromOpenings
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/xboard_match.sh ${CMAKE_BINARY_DIR}/korvanewb opening)
set_tests_properties(ConsoleEndToEndXboardFromOpenings PROPERTIES TIMEOUT 330)
# Interfaces start korvanewb without arguments; people may ask it for its usage or version, and
# anything else is refused with a message and exit status 2.
add_test(NAME ConsoleOptionHelp COMMAND korvanewb --help)
set_tests_properties(ConsoleOptionHelp PROPERTIES TIMEOUT 20
                     PASS_REGULAR_EXPRESSION "^usage: korvanewb ")
add_test(NAME ConsoleOptionVersion COMMAND korvanewb --version)
set_tests_properties(ConsoleOptionVersion PROPERTIES TIMEOUT 20
                     PASS_REGULAR_EXPRESSION "^korvanewb \\(KorvaneWB\\) 1\\.42\n$")
add_test(NAME ConsoleOptionRefused
         COMMAND sh -c "$0 -x </dev/null 2>&1; echo \"exit $?\"" $<TARGET_FILE:korvanewb>)
set_tests_properties(ConsoleOptionRefused PROPERTIES TIMEOUT 20
                     PASS_REGULAR_EXPRESSION "^korvanewb: unknown argument '-x'\nusage: [^\n]*\n.*exit 2\n$")
