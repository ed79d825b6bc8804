# End-to-end: korvane3d in a real window under Xvfb, driven by xdotool (left out of sanitizer runs).
if(TARGET korvane3d)
  add_test(NAME Game3dEndToEndWindowGame
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/window_game.sh $<TARGET_FILE:korvane3d>)
  set_tests_properties(Game3dEndToEndWindowGame PROPERTIES TIMEOUT 180)
  add_test(NAME Game3dEndToEndKeptBetweenRuns
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/window_keep.sh $<TARGET_FILE:korvane3d>)
  set_tests_properties(Game3dEndToEndKeptBetweenRuns PROPERTIES TIMEOUT 180)
  add_test(NAME Game3dEndToEndDataErrorBox
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/data_error_window.sh $<TARGET_FILE:korvane3d>
                   ${CMAKE_SOURCE_DIR}/data)
  set_tests_properties(Game3dEndToEndDataErrorBox PROPERTIES TIMEOUT 180)
endif()

# The data files in data/ are kvm-gen's output, unedited.
if(TARGET kvm-gen)
  add_test(NAME DataFilesMatchGenerator
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/data_files_match.sh $<TARGET_FILE:kvm-gen>
                   ${CMAKE_SOURCE_DIR}/data)
endif()

# The kvtool render test reads the PNGs back.
if(TARGET game3d_tests)
  find_package(PNG REQUIRED)
  target_link_libraries(game3d_tests PRIVATE PNG::PNG)
endif()

# The sanitizer build only: one real-window game under the sanitizers, the system libraries'
# own leaks suppressed. Alone, so that a loaded machine does not slow its frames.
if(TARGET korvane3d AND KORVANE_SANITIZE)
  add_test(NAME Game3dSanitizedWindowGame
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/sanitized_window_game.sh $<TARGET_FILE:korvane3d>
                   ${CMAKE_SOURCE_DIR}/tests/lsan.supp)
  set_tests_properties(Game3dSanitizedWindowGame PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
endif()
