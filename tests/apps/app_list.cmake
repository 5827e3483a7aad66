add_unit_test(app_list_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/app_files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_list_test.cpp
  LIBS quellor_app_list quellor_platform quellor_report)
