# Every search result as recorded before the search was made faster. The bench takes seconds
# in the release build, so it is left out of the sanitizer run.
if(TARGET kvtool)
  add_test(NAME SearchIdentityPositions
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/search_identity.sh $<TARGET_FILE:kvtool> positions)
  add_test(NAME SearchIdentityBenchSlow
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/search_identity.sh $<TARGET_FILE:kvtool> bench)
  set_tests_properties(SearchIdentityBenchSlow PROPERTIES TIMEOUT 300)
endif()
