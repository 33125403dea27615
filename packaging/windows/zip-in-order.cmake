# CPack's post-build script: rewrites each zip it has made with zip-in-order.py, so that the
# archive holds its files in name order, with no owner and the commit's time.
set(zips ${CPACK_PACKAGE_FILES})
list(FILTER zips INCLUDE REGEX "\\.zip$")
if(NOT zips)
  return()
endif()
find_program(PYTHON3 python3 REQUIRED)
foreach(zip IN LISTS zips)
  execute_process(COMMAND ${PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/zip-in-order.py ${zip} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
