# End-to-end: a short match in the real xboard GUI against fairymax (left out of sanitizer runs).
add_test(NAME ConsoleEndToEndXboardMatch
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/xboard_match.sh ${CMAKE_BINARY_DIR}/korvanewb)
set_tests_properties(ConsoleEndToEndXboardMatch PROPERTIES TIMEOUT 240)
# The same match with korvanewb in its UCI mode, behind Debian's polyglot adapter.
add_test(NAME ConsoleEndToEndUciMatch
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/xboard_match.sh ${CMAKE_BINARY_DIR}/korvanewb uci)
set_tests_properties(ConsoleEndToEndUciMatch PROPERTIES TIMEOUT 240)
