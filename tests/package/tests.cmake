# End-to-end: install into a staging folder, run what was installed, build and list the .deb,
# validate the desktop entry and the man pages (left out of sanitizer runs).
if(TARGET korvane3d AND TARGET korvanewb)
  add_test(NAME PackageEndToEndInstall
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/install_check.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(PackageEndToEndInstall PROPERTIES TIMEOUT 120)
endif()
