# cmake -DIN=page -DOUT=page.gz -P gzip.cmake: gzip -9n, so the same page gives the same bytes.
get_filename_component(folder ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND gzip -9nc ${IN} OUTPUT_FILE ${OUT} RESULT_VARIABLE failed)
if(failed)
  file(REMOVE ${OUT})
  message(FATAL_ERROR "gzip ${IN} failed")
endif()
