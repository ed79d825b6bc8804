# The SDL smoke test needs SDL itself, so it runs in a binary of its own rather than in
# platform_tests, which is built on the in-memory backend.
set(PLATFORM_SDL_SMOKE ${CMAKE_CURRENT_LIST_DIR}/sdl_smoke_test.cpp)
if(TARGET platform_tests)
  get_target_property(platform_test_sources platform_tests SOURCES)
  list(REMOVE_ITEM platform_test_sources ${PLATFORM_SDL_SMOKE})
  set_property(TARGET platform_tests PROPERTY SOURCES ${platform_test_sources})
endif()
if(TARGET platform3d_sdl AND EXISTS ${PLATFORM_SDL_SMOKE})
  add_executable(platform_sdl_tests ${PLATFORM_SDL_SMOKE})
  target_link_libraries(platform_sdl_tests PRIVATE platform3d_sdl GTest::gtest GTest::gtest_main)
  gtest_discover_tests(platform_sdl_tests DISCOVERY_TIMEOUT 60)
endif()

# Without any display the demo (and so korvane3d) must say why on stderr and exit with 1.
if(TARGET platform-demo)
  add_test(NAME PlatformNoDisplayEndToEnd
           COMMAND sh -c "out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \"$0\" --seconds 1 2>&1); rc=$?; echo \"$out\"; [ $rc -eq 1 ] && echo \"$out\" | grep -q 'Register window class failed'"
                   $<TARGET_FILE:platform-demo>)
  set_tests_properties(PlatformNoDisplayEndToEnd PROPERTIES TIMEOUT 30)
endif()
