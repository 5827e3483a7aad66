# The application list (AppList.INI) and the removal of an application's stale files: steps of
# an application's build, kept apart from discovery.
add_library(quellor_app_list STATIC
  ${CMAKE_CURRENT_LIST_DIR}/app_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_list.cpp)
target_link_libraries(quellor_app_list PUBLIC quellor_base PRIVATE quellor_platform quellor_report)
