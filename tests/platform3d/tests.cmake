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
