# The data files in data/ are kvm-gen's output, unedited.
if(TARGET kvm-gen)
  add_test(NAME DataFilesMatchGenerator
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/data_files_match.sh $<TARGET_FILE:kvm-gen>
                   ${CMAKE_SOURCE_DIR}/data)
endif()
